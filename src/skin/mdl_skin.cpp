// Lays the skin pieces out for the window's size, rounds its outline and sets its band.
#include "skin/mdl_skin.h"
#include "platform/vb_runtime.h"

namespace orvane {

namespace {

void Place(Control& piece, int left, int top) {
  piece.Move(left, top);
}
void Place(Control& piece, int left, int top, int width, int height) {
  piece.SetBounds({left, top, width, height});
}

}  // namespace

int SkinWidth(const Form& frm) {
  return static_cast<int>(
      RoundHalfEven(frm.Window().Placement().width / frm.Window().TwipsPerPixelX()));
}

int SkinHeight(const Form& frm) {
  return static_cast<int>(
      RoundHalfEven(frm.Window().Placement().height / frm.Window().TwipsPerPixelY()));
}

void MdlSkin::ApplySkin(Form& frm, bool blnResizable) {
  SkinResizable = blnResizable ? 1 : 0;
  const int W = SkinWidth(frm);
  const int H = SkinHeight(frm);

  frm.SetBackColor(kFormBackColor);
  Control& title = frm["lblTitle"];
  frm.SetCaption(title.Caption());
  title.Move(16, 7);
  SetWindowRoundRegion(frm);

  // Unstretched pieces keep their 19 x 30 box. The title's middle runs on to
  // the right edge under the right end piece, whose transparent pixels show
  // it; the right side runs down to H - 8 under the bottom-right corner.
  Control& titleMain = frm["imgTitleMain"];
  Control& windowLeft = frm["imgWindowLeft"];
  Control& windowBottom = frm["imgWindowBottom"];
  Control& windowRight = frm["imgWindowRight"];
  Place(frm["imgTitleLeft"], 0, 0);
  Place(frm["imgTitleRight"], W - 19, 0);
  Place(titleMain, 19, 0, W - 19, titleMain.Height());
  Place(windowLeft, 0, 30, windowLeft.Width(), H - 60);
  Place(frm["imgWindowBottomLeft"], 0, H - 30);
  Place(windowBottom, 19, H - 30, W - 38, windowBottom.Height());
  Place(frm["imgWindowBottomRight"], W - 19, H - 30);
  Place(windowRight, W - 19, 30, windowRight.Width(), H - 38);

  // Without grips the earlier grips stay exactly where they were.
  if (!blnResizable) return;
  for (int index = 0; index < kGripCount; ++index) frm.Element("Resizer", index).SetVisible(true);

  auto grip = [&frm](int index) -> Control& { return frm.Element("Resizer", index); };
  Place(grip(0), 0, 30, grip(0).Width(), H - 60);
  Place(grip(1), W - 5, 30, grip(1).Width(), H - 60);
  Place(grip(2), 19, 0, W - 39, grip(2).Height());
  Place(grip(3), 19, H - 5, W - 39, grip(3).Height());
  Place(grip(4), W - 11, H - 11);
  Place(grip(5), 0, H - 11);
  Place(grip(6), W - 11, 0);
  Place(grip(7), 0, 0);
}

void MdlSkin::SetWindowRoundRegion(Form& frm) {
  frm.Window().SetRoundRegion(0, 0, SkinWidth(frm), SkinHeight(frm), kCornerEllipse,
                              kCornerEllipse);
}

void MdlSkin::SetTopMost(Form& frm, bool blnTopMost) {
  frm.Window().SetTopMost(blnTopMost);
}

}  // namespace orvane
