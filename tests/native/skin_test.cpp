// The skin on frmMain: the frame and the grips at any size, the window's
// band, and the title pieces and grips that move, switch and size it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes.h"

namespace orvane::testing {
namespace {

// The frame covers the 19-pixel sides and the 30-pixel title and bottom
// bands without reaching outside; each grip lies against its own edges.
TEST(Skin, FrameAndGripsFollowTheEdgesAtAnySize) {
  const char* const frame[] = {"imgTitleLeft",    "imgTitleRight",       "imgTitleMain",
                               "imgWindowLeft",   "imgWindowBottomLeft", "imgWindowBottomRight",
                               "imgWindowBottom", "imgWindowRight"};
  // The edges each grip touches: left, top, right, bottom.
  const char* const gripEdges[kGripCount] = {"l", "r", "t", "b", "rb", "lb", "tr", "lt"};
  for (const auto& [W, H] :
       {std::pair{528, 255}, std::pair{1024, 738}, std::pair{57, 90}, std::pair{801, 600}}) {
    SCOPED_TRACE(::testing::Message() << W << " x " << H);
    Rig rig;
    rig.system.placement = {0, 0, W * 15.0f, H * 15.0f};
    rig.skin.ApplySkin(rig.frm, true);

    // Pixels of the bands left bare, and pixels just outside the window covered.
    std::vector<Rect> pieces;
    for (const char* name : frame) pieces.push_back(rig.frm[name].Bounds());
    int wrong = 0;
    for (int y = -1; y <= H; ++y) {
      for (int x = -1; x <= W; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < W && y < H;
        if (inside && x >= 19 && x < W - 19 && y >= 30 && y < H - 30) continue;
        const bool covered =
            std::any_of(pieces.begin(), pieces.end(), [&](Rect r) { return r.Contains(x, y); });
        wrong += inside != covered;
      }
    }
    EXPECT_EQ(wrong, 0);
    for (int i = 0; i < kGripCount; ++i) {
      const Rect g = rig.frm.Element("Resizer", i).Bounds();
      EXPECT_TRUE(rig.frm.Element("Resizer", i).Visible());
      EXPECT_EQ(std::string(g.left == 0 ? "l" : "") + (g.top == 0 ? "t" : "") +
                    (g.left + g.width == W ? "r" : "") + (g.top + g.height == H ? "b" : ""),
                gripEdges[i])
          << "grip " << i;
    }
    EXPECT_EQ(rig.system.region, (Rect{0, 0, W, H}));
  }
}

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
