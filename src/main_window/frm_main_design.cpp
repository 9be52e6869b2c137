#include "main_window/frm_main_design.h"

#include <array>

namespace orvane {

namespace {

const Font kTextBoxFont{"Arial", 9.75, false};
const Font kTitleFont{"Arial", 9.75, true};
const Font kProgressFont{"Arial", 8.25, true};
constexpr Color kNavy = Color::Rgb(0, 0, 128);
constexpr Color kWhite = Color::Rgb(255, 255, 255);

ControlDesign PictureButton(const char* name, Rect rect, const char* picture) {
  ControlDesign design;
  design.name = name;
  design.kind = ControlKind::PictureButton;
  design.rect = rect;
  design.picture = picture;
  design.pointer = MousePointer::Hand;
  return design;
}

ControlDesign TextBox(const char* name, Rect rect, int tabIndex) {
  ControlDesign design;
  design.name = name;
  design.kind = ControlKind::TextBox;
  design.rect = rect;
  design.font = kTextBoxFont;
  design.foreColor = kNavy;
  design.tabIndex = tabIndex;
  return design;
}

ControlDesign Image(const char* name, Rect rect, const char* picture, bool stretch = false) {
  ControlDesign design;
  design.name = name;
  design.kind = ControlKind::Image;
  design.rect = rect;
  design.picture = picture;
  design.stretch = stretch;
  return design;
}

ControlDesign TitleLabel() {
  ControlDesign design;
  design.name = "lblTitle";
  design.kind = ControlKind::Label;
  design.rect = {16, 7, 266, 16};
  design.caption = "Orvane Tools";
  design.font = kTitleFont;
  design.foreColor = kWhite;
  return design;
}

ControlDesign ProgressCaption() {
  ControlDesign design;
  design.name = "ProgressCap";
  design.kind = ControlKind::Label;
  design.rect = {12, 218, 504, 20};
  design.font = kProgressFont;
  design.foreColor = Color::System(ColorSource::SystemWindowText);
  design.align = TextAlign::Center;
  return design;
}

ControlDesign ProgressBarShape() {
  ControlDesign design;
  design.name = "ProgressBar";
  design.kind = ControlKind::Shape;
  design.rect = {12, 214, 1, 23};
  design.fillColor = Color::System(ColorSource::SystemHighlight);
  return design;
}

// The grips are transparent pictures; the layout gives each its place and
// the dimension along its edge.
ControlDesign Grip(int index) {
  struct GripStart {
    Rect rect;
    MousePointer pointer;
  };
  static const std::array<GripStart, 8> kGrips{{
      {{0, 30, 5, 5}, MousePointer::SizeWestEast},
      {{0, 30, 5, 5}, MousePointer::SizeWestEast},
      {{19, 0, 5, 5}, MousePointer::SizeNorthSouth},
      {{19, 0, 5, 5}, MousePointer::SizeNorthSouth},
      {{0, 0, 11, 11}, MousePointer::SizeNorthWestSouthEast},
      {{0, 0, 11, 11}, MousePointer::SizeNorthEastSouthWest},
      {{0, 0, 11, 11}, MousePointer::SizeNorthEastSouthWest},
      {{0, 0, 11, 11}, MousePointer::SizeNorthWestSouthEast},
  }};
  ControlDesign design;
  design.name = "Resizer";
  design.index = index;
  design.kind = ControlKind::Image;
  design.rect = kGrips[static_cast<std::size_t>(index)].rect;
  design.visible = false;
  design.pointer = kGrips[static_cast<std::size_t>(index)].pointer;
  return design;
}

// Skin pieces start in a 19 x 30 box; the layout moves and stretches them.
ControlDesign SkinPiece(const char* name, const char* picture, bool stretch) {
  return Image(name, {0, 0, 19, 30}, picture, stretch);
}

}  // namespace

void AddFrmMainControls(Form& form) {
  // Windowed controls: they lie in front of everything painted on the form.
  form.Add(PictureButton("cmdBr", {349, 137, 34, 34}, "btn_folder.jpg"));
  form.Add(PictureButton("cmdHelp", {392, 111, 116, 30}, "btn_help.jpg"));
  form.Add(TextBox("txtPort", {109, 134, 237, 24}, 8));
  form.Add(TextBox("txtIP", {109, 102, 237, 24}, 7));
  form.Add(TextBox("txtFolder", {20, 142, 325, 24}, 6));
  form.Add(PictureButton("cmdProxy", {392, 145, 116, 30}, "btn_proxy.jpg"));
  form.Add(PictureButton("cmdExit", {392, 177, 116, 30}, "btn_exit.jpg"));
  // cmdOK lies one pixel above cmdUpd and in front of it; cmdStop covers cmdOrvane.
  form.Add(PictureButton("cmdOK", {392, 80, 116, 30}, "btn_ok.jpg"));
  form.Add(PictureButton("cmdUpd", {392, 81, 116, 30}, "btn_upd.jpg"));
  form.Add(PictureButton("cmdStop", {392, 48, 116, 30}, "btn_stop.jpg"));
  form.Add(PictureButton("cmdOrvane", {392, 48, 116, 30}, "btn_orvane.jpg"));

  // Windowless controls, painted back to front by the host.
  form.Add(Image("bg5", {8, 40, 511, 203}, "bg5.jpg"));
  form.Add(TitleLabel());
  form.Add(ProgressCaption());
  form.Add(ProgressBarShape());
  form.Add(Image("bg3", {8, 40, 511, 203}, "bg3.jpg"));
  form.Add(Image("bg2", {9, 40, 511, 203}, "bg2.jpg"));
  form.Add(Image("bg1", {8, 40, 511, 203}, "bg1.jpg"));
  form.Add(Image("bg", {8, 40, 511, 203}, "bg.jpg"));

  // The maximise/restore button starts without a picture: a transparent click area.
  form.Add(Image("imgTitleMaxRestore", {112, 24, 13, 13}, ""));
  for (int index = 0; index < 8; ++index) form.Add(Grip(index));
  form.Add(SkinPiece("imgTitleLeft", "title_left.gif", false));
  form.Add(SkinPiece("imgTitleRight", "title_right.gif", false));
  form.Add(SkinPiece("imgTitleMain", "title_main.bmp", true));
  form.Add(SkinPiece("imgWindowBottomLeft", "window_bottom_left.bmp", false));
  form.Add(SkinPiece("imgWindowBottomRight", "window_bottom_right.bmp", false));
  form.Add(SkinPiece("imgWindowBottom", "window_bottom.bmp", true));
  form.Add(SkinPiece("imgWindowLeft", "window_left.bmp", true));
  form.Add(SkinPiece("imgWindowRight", "window_right.bmp", true));

  // Holders of the two glyphs; only their pictures are ever read.
  ControlDesign restore = Image("imgTitleRestore", {0, 0, 13, 13}, "glyph_restore.bmp");
  restore.visible = false;
  form.Add(restore);
  ControlDesign maximize = Image("imgTitleMaximize", {0, 0, 13, 13}, "glyph_maximize.bmp");
  maximize.visible = false;
  form.Add(maximize);
}

}  // namespace orvane
