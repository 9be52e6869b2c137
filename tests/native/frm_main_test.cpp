// frmMain on the fakes: its panels, the window's band, the title and grips
// that move, switch and size it (its layout is checked where it is painted),
// and the server address for the Windows version.
#include <gtest/gtest.h>

#include <functional>

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
      rig.frm["ProgressCap"].SetCaption("512Kb / 1,024Kb");
      rig.system.focused.clear();
      rig.frm.Layout_Setting(to);
      std::string shown;
      for (const char* name : checked) {
        if (rig.frm[name].Visible()) shown += (shown.empty() ? "" : " ") + std::string(name);
      }
      EXPECT_EQ(shown, expected) << "from \"" << from << "\" to \"" << to << "\"";
      EXPECT_EQ(rig.frm["ProgressBar"].Width(), 1);
      EXPECT_EQ(rig.frm["ProgressCap"].Caption(), "");
      EXPECT_EQ(rig.system.focused, std::string(to) == "Proxy" ? "txtIP" : "");
      for (const char* button : {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit"})
        EXPECT_TRUE(rig.frm[button].Visible()) << button;
    }
  }
  for (const auto& [button, panel] :
       {std::pair{"cmdUpd", "bg2"}, std::pair{"cmdHelp", "bg5"}, std::pair{"cmdProxy", "bg3"}}) {
    rig.frm.Layout_Setting("");
    rig.frm.Click(rig.frm[button]);
    EXPECT_TRUE(rig.frm[panel].Visible() && !rig.frm["bg"].Visible()) << button;
  }
}

// The load puts the window in the normal band, once. A press of any button
// on a title piece hands the window to the caption move, unless it is
// maximised; no other control moves it. The title's button, a double-click on
// the title and a maximise or restore from outside the skin switch the state
// alike, with the glyph to match.
TEST(Skin, TheTitleDragsOrSwitchesTheWindow) {
  Rig rig;
  FrmMain& frm = rig.frm;
  frm.Form_Load();
  EXPECT_EQ(rig.system.bands, std::vector<bool>{false});
  std::string dragging;
  for (const WindowState state : {WindowState::Normal, WindowState::Maximized}) {
    rig.system.state = state;
    for (const Control& control : frm.Controls()) {
      const int before = rig.system.drags;
      for (const MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle})
        frm.MouseDown(control, {button, 0, 1, 1});
      if (rig.system.drags > before)
        dragging += control.Name() + std::to_string(rig.system.drags - before) + " ";
    }
  }
  EXPECT_EQ(dragging, "lblTitle3 imgTitleLeft3 imgTitleRight3 imgTitleMain3 ");
  rig.system.state = WindowState::Normal;
  const std::function<void(WindowState)> ways[] = {
      [&](WindowState) { frm.Click(frm["imgTitleMaxRestore"]); },
      [&](WindowState) { frm.DblClick(frm["lblTitle"]); },
      [&](WindowState) { frm.DblClick(frm["imgTitleMain"]); },
      [&](WindowState wanted) { EXPECT_TRUE(static_cast<Form&>(frm).StateRequested(wanted)); }};
  for (const auto& toggle : ways) {
    for (const auto& [state, glyph] : {std::pair{WindowState::Maximized, "glyph_restore.bmp"},
                                       std::pair{WindowState::Normal, "glyph_maximize.bmp"}}) {
      toggle(state);
      EXPECT_EQ(rig.system.state, state);
      EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), glyph);
    }
  }
  // Coming back from the taskbar is the system's own restore.
  rig.system.state = WindowState::Minimized;
  EXPECT_FALSE(static_cast<Form&>(frm).StateRequested(WindowState::Normal));
  EXPECT_EQ(rig.system.state, WindowState::Minimized);
  // Each layout follows the window's new size, rounded corners and all, and
  // after the first maximise leaves the grips where they were.
  const Rect grip = frm.Element("Resizer", 1).Bounds();
  rig.system.placement = {0, 0, 1024 * 15, 768 * 15};
  frm.Click(frm["imgTitleMaxRestore"]);
  EXPECT_EQ(rig.system.region, (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(frm.Element("Resizer", 1).Bounds(), grip);
  EXPECT_EQ(rig.program.skin.SkinResizable, 0);
}

// Each grip moves its own edges by the cursor's travel from press to release,
// whichever button drags it, never below the smallest size, and lays the skin
// out for the new size.
TEST(Skin, EachGripMovesItsOwnEdges) {
  // Left, top, width and height in pixels after a travel of 10 right, 20 down
  // from 100, 50, 528 x 255.
  const Rect moved[kGripCount] = {{110, 50, 518, 255}, {100, 50, 538, 255}, {100, 70, 528, 235},
                                  {100, 50, 528, 275}, {100, 50, 538, 275}, {110, 50, 518, 275},
                                  {100, 70, 538, 235}, {110, 70, 518, 235}};
  Rig rig;
  FrmMain& frm = rig.frm;
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

// Windows of major version 5 lack the TLS the server asks for; the rest,
// older, newer or unknown, use https. The title label takes the title while
// the window keeps its design caption.
TEST(FrmMain, StartupUsesPlainHttpOnlyOnWindowsOfMajorVersion5) {
  for (const std::uint32_t majorVersion : {0u, 3u, 4u, 5u, 6u, 10u}) {
    for (const std::uint32_t platformId : {1u, kVerPlatformWin32Nt}) {
      Rig rig;
      rig.system.majorVersion = majorVersion;
      rig.system.platformId = platformId;
      rig.frm.Form_Load();
      EXPECT_EQ(rig.download.ServerBase,
                (majorVersion == 5 ? "http://" : "https://") + std::string(ProductServerHost()))
          << majorVersion << " on platform " << platformId;
      EXPECT_EQ(rig.frm["lblTitle"].Caption() + ", " + rig.frm.Caption(),
                "Install && Upgrade Orvane 12 .0, Orvane Tools");
    }
  }
}

}  // namespace
}  // namespace orvane::testing
