// The skin on frmMain: the window's band, and the title pieces and grips that
// move, switch and size it. (Its layout at the designed size is checked where
// the window is painted.)
#include <gtest/gtest.h>

#include <functional>

#include "fakes.h"

namespace orvane::testing {
namespace {

// The load puts the window in the normal band, once. A press of any button
// on a title piece hands the window to the caption move, unless it is
// maximised; no other control moves it.
TEST(Skin, TheNormalBandAtLoadAndOnlyTheTitleDrags) {
  Rig rig;
  FrmMain& frm = rig.frm;
  frm.Form_Load();
  EXPECT_EQ(rig.system.bands, std::vector<bool>{false});
  for (const WindowState state : {WindowState::Normal, WindowState::Maximized}) {
    rig.system.state = state;
    std::set<std::string> dragging;
    for (const Control& control : frm.Controls()) {
      for (const MouseButton button :
           {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        const int before = rig.system.drags;
        frm.MouseDown(control, {button, 0, 1, 1});
        if (rig.system.drags == before + 1) dragging.insert(control.Name());
      }
    }
    EXPECT_EQ(dragging,
              (state == WindowState::Normal ? std::set<std::string>{"imgTitleLeft", "imgTitleMain",
                                                                    "imgTitleRight", "lblTitle"}
                                            : std::set<std::string>{}));
  }
}

// The title's button, a double-click on the title and a maximise or restore
// from outside the skin switch alike, with the glyph to match.
TEST(Skin, MaximiseAndRestoreEveryWay) {
  Rig rig;
  FrmMain& frm = rig.frm;
  frm.Form_Load();
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
  // Each layout follows the window's new size, rounded corners and all, and
  // after the first maximise leaves the grips where they were.
  const Rect grip = frm.Element("Resizer", 1).Bounds();
  rig.system.placement = {0, 0, 1024 * 15, 768 * 15};
  frm.Click(frm["imgTitleMaxRestore"]);
  EXPECT_EQ(rig.system.region, (Rect{0, 0, 1024, 768}));
  EXPECT_EQ(frm["imgWindowBottomRight"].Bounds(), (Rect{1005, 738, 19, 30}));
  EXPECT_EQ(frm.Element("Resizer", 1).Bounds(), grip);
  EXPECT_EQ(rig.skin.SkinResizable, 0);
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
  auto pixels = [](const TwipsRect& t) {
    return Rect{static_cast<int>(t.left / 15), static_cast<int>(t.top / 15),
                static_cast<int>(t.width / 15), static_cast<int>(t.height / 15)};
  };
  for (int grip = 0; grip < kGripCount; ++grip) {
    Rig rig;
    FrmMain& frm = rig.frm;
    frm.Form_Load();
    rig.system.placement = {100 * 15, 50 * 15, 528 * 15, 255 * 15};
    Control& resizer = frm.Element("Resizer", grip);
    const MouseButton button = grip % 2 ? MouseButton::Right : MouseButton::Left;
    rig.system.cursor = {500, 500};
    frm.MouseDown(resizer, {button, 0, 2, 2});
    rig.system.cursor = {510, 520};
    frm.MouseUp(resizer, {button, 0, 4, 4});
    EXPECT_EQ(pixels(rig.system.placement), moved[grip]) << "grip " << grip;
    EXPECT_EQ(frm["imgTitleRight"].Left(), moved[grip].width - 19) << "grip " << grip;
  }
  Rig rig;  // the top-left grip dragged past the bottom-right corner
  rig.system.cursor = {0, 0};
  rig.frm.MouseDown(rig.frm.Element("Resizer", 7), {});
  rig.system.cursor = {2000, 2000};
  rig.frm.MouseUp(rig.frm.Element("Resizer", 7), {});
  EXPECT_EQ(pixels(rig.system.placement), (Rect{2000, 2000, 57, 90}));
}

}  // namespace
}  // namespace orvane::testing
