// frmMain on the fakes: panels, band, title and grips (the layout is checked where it is painted).
#include <gtest/gtest.h>

#include <utility>

#include "fakes.h"

namespace orvane::testing {
namespace {

// Each panel from every panel before it, with a download's progress left on screen.
TEST(FrmMain, LayoutSettingShowsExactlyTheNamedPanel) {
  const char* const checked[] = {"bg",     "bg1",     "bg2",         "bg3",        "bg5",
                                 "cmdUpd", "cmdStop", "cmdOK",       "txtFolder",  "cmdBr",
                                 "txtIP",  "txtPort", "ProgressBar", "ProgressCap"};
  const std::pair<const char*, std::string> panels[] = {
      {"", "bg cmdUpd"},
      {"InsTrue", "bg1 cmdUpd cmdStop ProgressBar ProgressCap"},
      {"Upgrade", "bg2 cmdOK txtFolder cmdBr ProgressBar ProgressCap"},
      {"Proxy", "bg3 cmdUpd txtIP txtPort"},
      {"Help", "bg5 cmdUpd"},
      {"Settings", "cmdUpd ProgressBar ProgressCap"}};
  Rig rig;
  rig.frm.Form_Load();
  for (const auto& [from, ignored] : panels) {
    for (const auto& [to, expected] : panels) {
      rig.frm.Layout_Setting(from);
      rig.frm["ProgressBar"].SetWidth(252);
      rig.system.focused.clear();
      rig.frm.Layout_Setting(to);
      std::string shown;
      for (const char* name : checked)
        if (rig.frm[name].Visible()) shown += (shown.empty() ? "" : " ") + std::string(name);
      EXPECT_EQ(shown, expected) << "from \"" << from << "\" to \"" << to << "\"";
      EXPECT_EQ(rig.frm["ProgressBar"].Width(), 1);
      EXPECT_EQ(rig.system.focused, std::string(to) == "Proxy" ? "txtIP" : "");
    }
  }
}

// The load sets the normal band once. Any button on a title piece drags unless maximised. Each grip
// moves its own edges by the cursor's travel, with any button, never below the smallest size.
TEST(Skin, TheTitleDragsOrSwitchesTheWindowAndEachGripMovesItsOwnEdges) {
  Rig rig;
  FrmMain& frm = rig.frm;
  frm.Form_Load();
  EXPECT_EQ(rig.system.bands, std::vector<bool>{false});
  std::string dragging;
  for (const WindowState state : {WindowState::Normal, WindowState::Maximized}) {
    rig.system.state = state;
    for (const Control& control : frm.Controls()) {
      for (const MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle})
        frm.MouseDown(control, {button, 0, 1, 1});
      if (rig.system.drags > 0)
        dragging += control.Name() + std::to_string(std::exchange(rig.system.drags, 0)) + " ";
    }
  }
  EXPECT_EQ(dragging, "lblTitle3 imgTitleLeft3 imgTitleRight3 imgTitleMain3 ");
  // Coming back from the taskbar is the system's own restore.
  rig.system.state = WindowState::Minimized;
  EXPECT_FALSE(static_cast<Form&>(frm).StateRequested(WindowState::Normal));
  EXPECT_EQ(rig.system.state, WindowState::Minimized);
  // The title's double-click maximises, glyph and all (the button is the Wine tests'); the layout
  // follows the new size.
  rig.system.state = WindowState::Normal;
  rig.system.placement = {0, 0, 1024 * 15, 768 * 15};
  frm.DblClick(frm["lblTitle"]);
  EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), "glyph_restore.bmp");
  EXPECT_EQ(rig.system.region, (Rect{0, 0, 1024, 768}));

  // The window in pixels after a travel of 10 right, 20 down from 100, 50, 528 x 255.
  const Rect moved[kGripCount] = {{110, 50, 518, 255}, {100, 50, 538, 255}, {100, 70, 528, 235},
                                  {100, 50, 528, 275}, {100, 50, 538, 275}, {110, 50, 518, 275},
                                  {100, 70, 538, 235}, {110, 70, 518, 235}};
  auto drag = [&](int grip, Rect window, Point from, Point to, MouseButton button) {
    rig.system.placement = TwipsOf(window, 15, 15);
    rig.system.cursor = from;
    frm.MouseDown(frm.Element("Resizer", grip), {button, 0, 2, 2});
    rig.system.cursor = to;
    frm.MouseUp(frm.Element("Resizer", grip), {button, 0, 4, 4});
    return PixelsOf(rig.system.placement, 15, 15);
  };
  for (int grip = 0; grip < kGripCount; ++grip) {
    const MouseButton button = grip % 2 ? MouseButton::Right : MouseButton::Left;
    EXPECT_EQ(drag(grip, {100, 50, 528, 255}, {500, 500}, {510, 520}, button), moved[grip]) << grip;
    EXPECT_EQ(frm["imgTitleRight"].Left(), moved[grip].width - 19) << "grip " << grip;
  }
  // The top-left grip past the bottom-right corner.
  EXPECT_EQ(drag(7, {0, 0, 528, 255}, {0, 0}, {2000, 2000}, MouseButton::Left),
            (Rect{2000, 2000, 57, 90}));
}

// Windows 5.x lacks the TLS the server asks for; the rest, older, newer or unknown, use https.
TEST(FrmMain, StartupUsesPlainHttpOnlyOnWindowsOfMajorVersion5) {
  for (const std::uint32_t version : {0u, 30u, 40u, 41u, 50u, 51u, 52u, 60u, 100u}) {  // x.y as xy
    Rig rig;
    rig.system.majorVersion = version / 10;
    rig.system.minorVersion = version % 10;
    rig.frm.Form_Load();
    EXPECT_EQ(rig.download.ServerBase,
              (version / 10 == 5 ? "http://" : "https://") + std::string(ProductServerHost()))
        << version;
  }
}

}  // namespace
}  // namespace orvane::testing
