// The design of frmMain: every control with its design-time state and the
// handlers of its events, in stacking order from front to back, and the
// panels that Layout_Setting switches between.
#include <array>
#include <functional>
#include <utility>

#include "main_window/frm_main.h"
#include "skin/mdl_skin.h"

namespace orvane {

namespace {

const Font kTextBoxFont{"Arial", 9.75, false};
const Font kTitleFont{"Arial", 9.75, true};
const Font kProgressFont{"Arial", 8.25, true};
constexpr Color kNavy = Color::Rgb(0, 0, 128);
constexpr Color kWhite = Color::Rgb(255, 255, 255);

// The words on its picture are its caption, which names it to a screen
// reader. What it does is in the command table.
ControlDesign PictureButton(const char* name, Rect rect, const char* picture, const char* words) {
  ControlDesign design;
  design.name = name;
  design.caption = words;
  design.kind = ControlKind::PictureButton;
  design.rect = rect;
  design.picture = picture;
  design.pointer = MousePointer::Hand;
  return design;
}

ControlDesign TextBox(const char* name, Rect rect, const char* label) {
  ControlDesign design;
  design.name = name;
  design.label = label;
  design.kind = ControlKind::TextBox;
  design.rect = rect;
  design.font = kTextBoxFont;
  design.foreColor = kNavy;
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
ControlDesign Grip(int index, FrmMain& form) {
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
  design.events.mouseDown = [&form, index](const MouseEvent& event) {
    form.Resizer_MouseDown(index, event);
  };
  design.events.mouseUp = [&form, index](const MouseEvent& event) {
    form.Resizer_MouseUp(index, event);
  };
  return design;
}

// Skin pieces start in a 19 x 30 box; the layout moves and stretches them.
ControlDesign SkinPiece(const char* name, const char* picture, bool stretch) {
  return Image(name, {0, 0, 19, 30}, picture, stretch);
}

}  // namespace

FrmMain::Design FrmMain::AddControls() {
  FrmMain& form = *this;
  // Windowed controls: they lie in front of everything painted on the form,
  // and take the keyboard in this order. None overlaps another but
  // cmdStop, which covers cmdOrvane, and cmdOK, one pixel above cmdUpd.
  ControlDesign folder = TextBox("txtFolder", {20, 142, 325, 24}, "Thu muc da cai dat Orvane");
  folder.events.change = [this] { workflows_.CheckFolder(context_); };
  folder.events.dblClick = [this] { Execute(Command::BrowseFolder); };
  Control& txtFolder = Add(std::move(folder));
  Control& txtIP = Add(TextBox("txtIP", {109, 102, 237, 24}, "Dia chi (*)"));
  Control& txtPort = Add(TextBox("txtPort", {109, 134, 237, 24}, "Cong"));
  Control& cmdBr =
      Add(PictureButton("cmdBr", {349, 137, 34, 34}, "btn_folder.jpg", "Chon thu muc"));
  Control& cmdStop =
      Add(PictureButton("cmdStop", {392, 48, 116, 30}, "btn_stop.jpg", "Dung tai ve"));
  Add(PictureButton("cmdOrvane", {392, 48, 116, 30}, "btn_orvane.jpg", "Cai dat Orvane"));
  Control& cmdOK = Add(PictureButton("cmdOK", {392, 80, 116, 30}, "btn_ok.jpg", "Thuc hien"));
  Control& cmdUpd =
      Add(PictureButton("cmdUpd", {392, 81, 116, 30}, "btn_upd.jpg", "Nang cap Orvane"));
  Add(PictureButton("cmdHelp", {392, 111, 116, 30}, "btn_help.jpg", "Huong dan"));
  Add(PictureButton("cmdProxy", {392, 145, 116, 30}, "btn_proxy.jpg", "Thiet lap Proxy"));
  Add(PictureButton("cmdExit", {392, 177, 116, 30}, "btn_exit.jpg", "Thoat"));

  // A press of any button anywhere on the title moves the window; a
  // double-click there, or a click on its button, maximises or restores it.
  auto dragByTitle = [this](const MouseEvent&) { skin_.DragWindow(*this); };
  auto toggleMaximize = [this] { skin_.ToggleMaximize(*this); };

  // Windowless controls, painted back to front by the host.
  Control& bg5 = Add(Image("bg5", {8, 40, 511, 203}, "bg5.jpg"));
  ControlDesign title = TitleLabel();
  title.events.mouseDown = dragByTitle;
  title.events.dblClick = toggleMaximize;
  Control& lblTitle = Add(std::move(title));
  Control& ProgressCap = Add(ProgressCaption());
  Control& ProgressBar = Add(ProgressBarShape());
  Control& bg3 = Add(Image("bg3", {8, 40, 511, 203}, "bg3.jpg"));
  Control& bg2 = Add(Image("bg2", {9, 40, 511, 203}, "bg2.jpg"));
  Control& bg1 = Add(Image("bg1", {8, 40, 511, 203}, "bg1.jpg"));
  Control& bg = Add(Image("bg", {8, 40, 511, 203}, "bg.jpg"));

  // The maximise/restore button starts without a picture: a transparent click area.
  ControlDesign maxRestore = Image("imgTitleMaxRestore", {112, 24, 13, 13}, "");
  maxRestore.events.click = toggleMaximize;
  Add(std::move(maxRestore));
  for (int index = 0; index < 8; ++index) Add(Grip(index, form));
  ControlDesign titleLeft = SkinPiece("imgTitleLeft", "title_left.gif", false);
  titleLeft.events.mouseDown = dragByTitle;
  Add(std::move(titleLeft));
  ControlDesign titleRight = SkinPiece("imgTitleRight", "title_right.gif", false);
  titleRight.events.mouseDown = dragByTitle;
  Add(std::move(titleRight));
  ControlDesign titleMain = SkinPiece("imgTitleMain", "title_main.bmp", true);
  titleMain.events.mouseDown = dragByTitle;
  titleMain.events.dblClick = toggleMaximize;
  Add(std::move(titleMain));
  Add(SkinPiece("imgWindowBottomLeft", "window_bottom_left.bmp", false));
  Add(SkinPiece("imgWindowBottomRight", "window_bottom_right.bmp", false));
  Add(SkinPiece("imgWindowBottom", "window_bottom.bmp", true));
  Add(SkinPiece("imgWindowLeft", "window_left.bmp", true));
  Add(SkinPiece("imgWindowRight", "window_right.bmp", true));

  // Holders of the two glyphs; only their pictures are ever read.
  ControlDesign restore = Image("imgTitleRestore", {0, 0, 13, 13}, "glyph_restore.bmp");
  restore.visible = false;
  Add(std::move(restore));
  ControlDesign maximize = Image("imgTitleMaximize", {0, 0, 13, 13}, "glyph_maximize.bmp");
  maximize.visible = false;
  Add(std::move(maximize));

  // The panels: a new one is a row here, with its controls declared above.
  std::vector<PanelDesign> panels = {
      {.panel = Panel::Home, .shows = {&bg}},
      {.panel = Panel::Installing, .shows = {&bg1, &cmdStop}, .showsProgress = true},
      {.panel = Panel::Upgrade,
       .shows = {&bg2, &txtFolder, &cmdBr, &cmdOK},
       .covers = &cmdUpd,
       .showsProgress = true},
      {.panel = Panel::Proxy, .shows = {&bg3, &txtIP, &txtPort}, .focus = &txtIP},
      {.panel = Panel::Help, .shows = {&bg5}},
  };
  return {lblTitle, ProgressCap, ProgressBar, txtFolder, txtIP, txtPort, std::move(panels)};
}

}  // namespace orvane
