// The window's own chrome on frmMain: the title pieces move the window, the
// maximise button and a double-click on the title switch its state, and the
// grips size it by the cursor's travel, keeping the minimum size, with the
// skin laid out again after each change.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frm_main_harness.h"

namespace orvane {

inline void PrintTo(const TwipsRect& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.width << ", " << rect.height
       << "} twips";
}

namespace {

using testing::FrmMainHarness;
using testing::RegionCall;

constexpr float kTwips = 15;  // per pixel, the harness's screen

// A window place given in pixels, in the form's twips.
TwipsRect Pixels(int left, int top, int width, int height) {
  return {left * kTwips, top * kTwips, width * kTwips, height * kTwips};
}

class WindowChrome : public ::testing::Test {
 protected:
  // Start-up's layout of a 528 x 255 window at 100, 80.
  void SetUp() override {
    h.window.placement = Pixels(100, 80, 528, 255);
    skin.ApplySkin(frm, true);
  }

  Control& Grip(int index) { return frm.Element("Resizer", index); }
  std::vector<Rect> GripPlaces() {
    std::vector<Rect> places;
    for (int index = 0; index < kGripCount; ++index) places.push_back(Grip(index).Bounds());
    return places;
  }

  // A press on grip `index` with the cursor at `from`, its release at `to`,
  // as the host delivers them: both to the grip that got the press.
  void DragGrip(int index, Point from, Point to, MouseButton button = MouseButton::Left) {
    MouseEvent event;
    event.button = button;
    h.ui.cursor = from;
    frm.MouseDown(Grip(index), event);
    h.ui.cursor = to;
    frm.MouseUp(Grip(index), event);
  }

  FrmMainHarness h;
  FrmMain& frm = h.frm;
  MdlSkin& skin = h.skin;
};

// Grips.

TEST_F(WindowChrome, EachGripMovesItsOwnEdgesByTheCursorsTravel) {
  struct Row {
    int left, top, width, height;  // pixels after a drag of (+20, +12)
  };
  const std::array<Row, kGripCount> expected{{
      {120, 80, 508, 255},  // 0 left edge
      {100, 80, 548, 255},  // 1 right edge
      {100, 92, 528, 243},  // 2 top edge
      {100, 80, 528, 267},  // 3 bottom edge
      {100, 80, 548, 267},  // 4 bottom-right corner
      {120, 80, 508, 267},  // 5 bottom-left corner
      {100, 92, 548, 243},  // 6 top-right corner
      {120, 92, 508, 243},  // 7 top-left corner
  }};
  for (int index = 0; index < kGripCount; ++index) {
    SCOPED_TRACE(::testing::Message() << "grip " << index);
    h.window.placement = Pixels(100, 80, 528, 255);
    skin.SkinResizable = 0;
    DragGrip(index, {600, 400}, {620, 412});

    const Row& row = expected[static_cast<std::size_t>(index)];
    EXPECT_EQ(h.window.placement, Pixels(row.left, row.top, row.width, row.height));
    EXPECT_EQ(frm.ResizeStart, (Point{600, 400}));
    EXPECT_EQ(frm.ResizeEnd, (Point{620, 412}));
    // The skin follows the new size, grips included.
    EXPECT_EQ(skin.SkinResizable, 1);
    EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, row.width, row.height, 24, 24}));
    EXPECT_EQ(frm["imgTitleRight"].Left(), row.width - 19);
    EXPECT_EQ(Grip(4).Bounds(), (Rect{row.width - 11, row.height - 11, 11, 11}));
  }
}

TEST_F(WindowChrome, TravelIsConvertedWithTheScreensTwipsPerPixel) {
  // 10 pixels to the right on the right grip at 15 twips per pixel.
  DragGrip(1, {700, 300}, {710, 300});
  EXPECT_EQ(h.window.placement.width, 528 * 15 + 150);

  // At 120 dots per inch (12 twips per pixel) the same drag is 120 twips,
  // and the minimum width is 57 x 12 twips.
  h.window.twipsPerPixelX = 12;
  h.window.twipsPerPixelY = 12;
  h.window.placement = {1200, 960, 528 * 12, 255 * 12};
  DragGrip(1, {700, 300}, {710, 300});
  EXPECT_EQ(h.window.placement, (TwipsRect{1200, 960, 528 * 12 + 120, 255 * 12}));
  DragGrip(4, {700, 300}, {100, 0});
  EXPECT_EQ(h.window.placement, (TwipsRect{1200, 960, 57 * 12, 90 * 12}));
}

TEST_F(WindowChrome, AnyMouseButtonDragsAGrip) {
  for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
    SCOPED_TRACE(static_cast<int>(button));
    h.window.placement = Pixels(100, 80, 528, 255);
    DragGrip(4, {627, 334}, {727, 384}, button);
    EXPECT_EQ(h.window.placement, Pixels(100, 80, 628, 305));
    EXPECT_EQ(frm["imgWindowBottomRight"].Bounds(), (Rect{609, 275, 19, 30}));
  }
}

TEST_F(WindowChrome, PressAndReleaseAtOnePointMoveNothingButLayTheSkinOutAgain) {
  skin.ApplySkin(frm, false);
  const std::size_t layouts = h.window.regions.size();
  DragGrip(7, {100, 80}, {100, 80});
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 528, 255));
  EXPECT_EQ(h.window.regions.size(), layouts + 1);
  EXPECT_EQ(skin.SkinResizable, 1);
}

TEST_F(WindowChrome, AnIndexOutsideTheGripsMovesNothingButTheRestRuns) {
  const Point down{600, 400};
  const Point up{650, 450};
  for (std::int16_t index : {std::int16_t{8}, std::int16_t{-1}, std::int16_t{32767}}) {
    SCOPED_TRACE(index);
    h.window.placement = Pixels(100, 80, 528, 255);
    skin.SkinResizable = 0;
    const std::size_t layouts = h.window.regions.size();
    skin.ResizeWindow(frm, down, up, index);
    EXPECT_EQ(h.window.placement, Pixels(100, 80, 528, 255));
    EXPECT_EQ(h.window.regions.size(), layouts + 1);
    EXPECT_EQ(skin.SkinResizable, 1);

    // The minimum still applies to a window that is already too small.
    h.window.placement = Pixels(100, 80, 40, 60);
    skin.ResizeWindow(frm, down, up, index);
    EXPECT_EQ(h.window.placement, Pixels(100, 80, 57, 90));
  }
}

TEST_F(WindowChrome, MinimumSizeGivesWayAtTheFarEdge) {
  // The left grip 500 pixels right: the left edge follows the cursor, then the
  // width becomes 57, so the right edge ends right of where it was (628).
  DragGrip(0, {102, 200}, {602, 200});
  EXPECT_EQ(h.window.placement, Pixels(600, 80, 57, 255));

  // The top grip 200 pixels down: the top follows, the height becomes 90.
  h.window.placement = Pixels(100, 80, 528, 255);
  DragGrip(2, {300, 82}, {300, 282});
  EXPECT_EQ(h.window.placement, Pixels(100, 280, 528, 90));

  // The bottom-right grip up and left: the window keeps its place.
  h.window.placement = Pixels(100, 80, 528, 255);
  DragGrip(4, {625, 332}, {125, 132});
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 57, 90));
  EXPECT_EQ(frm["imgTitleRight"].Left(), 57 - 19);
  EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, 57, 90, 24, 24}));

  // Past the opposite edge the window system is asked for a negative size;
  // this one takes it, and the minimum then applies to it.
  h.window.placement = Pixels(100, 80, 528, 255);
  DragGrip(1, {627, 200}, {27, 200});
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 57, 255));
}

TEST_F(WindowChrome, TravelBeyond32BitsIsSkippedAlongThatAxisOnly) {
  const Point down{-2'000'000'000, 400};
  const Point up{2'000'000'000, 412};
  skin.ResizeWindow(frm, down, up, std::int16_t{4});
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 528, 267));
}

// Maximise and restore.

TEST_F(WindowChrome, MaximiseAndRestoreSwitchTheGlyphAndKeepTheGrips) {
  const std::vector<Rect> normalGrips = GripPlaces();
  Control& button = frm["imgTitleMaxRestore"];
  EXPECT_EQ(button.Picture(), "");

  skin.ToggleMaximize(frm);
  EXPECT_EQ(h.window.state, WindowState::Maximized);
  EXPECT_EQ(button.Picture(), "glyph_restore.bmp");
  EXPECT_EQ(button.Bounds(), (Rect{112, 24, 13, 13})) << "the layout never moves the button";
  EXPECT_EQ(skin.SkinResizable, 0);
  // Laid out for the maximised size, rounded as before; the grips stay put.
  EXPECT_EQ(frm["imgTitleRight"].Left(), 1024 - 19);
  EXPECT_EQ(frm["imgWindowBottom"].Bounds(), (Rect{19, 738 - 30, 1024 - 38, 30}));
  EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, 1024, 738, 24, 24}));
  EXPECT_EQ(GripPlaces(), normalGrips);
  for (int index = 0; index < kGripCount; ++index) EXPECT_TRUE(Grip(index).Visible()) << index;

  skin.ToggleMaximize(frm);
  EXPECT_EQ(h.window.state, WindowState::Normal);
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 528, 255));
  EXPECT_EQ(button.Picture(), "glyph_maximize.bmp");
  EXPECT_EQ(skin.SkinResizable, 0) << "the restore lays out without grips too";
  EXPECT_EQ(frm["imgTitleRight"].Left(), 528 - 19);
  EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, 528, 255, 24, 24}));
  EXPECT_EQ(GripPlaces(), normalGrips);
}

TEST_F(WindowChrome, RestorePlacesTheGripsOnlyAfterALayoutWithThem) {
  // A minimised window restores to normal; the last layout placed the grips,
  // so this one does again.
  h.window.SetState(WindowState::Minimized);
  Grip(1).Move(0, 0);
  skin.ToggleMaximize(frm);
  EXPECT_EQ(h.window.state, WindowState::Normal);
  EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), "glyph_maximize.bmp");
  EXPECT_EQ(skin.SkinResizable, 1);
  EXPECT_EQ(Grip(1).Bounds(), (Rect{523, 30, 5, 195}));

  // After a maximise, a grip resize lays out with grips again and the next
  // restore follows it.
  skin.ToggleMaximize(frm);
  skin.ToggleMaximize(frm);
  EXPECT_EQ(skin.SkinResizable, 0);
  DragGrip(1, {627, 200}, {637, 200});
  EXPECT_EQ(skin.SkinResizable, 1);
  EXPECT_EQ(Grip(1).Left(), 538 - 5);
}

TEST_F(WindowChrome, AGripLeftVisibleOnAMaximisedWindowSizesNothingButPlacesTheGrips) {
  skin.ToggleMaximize(frm);
  const TwipsRect maximised = h.window.placement;
  DragGrip(4, {522, 249}, {600, 300});
  EXPECT_EQ(h.window.placement, maximised) << "the window refuses the move";
  EXPECT_EQ(h.window.state, WindowState::Maximized);
  EXPECT_EQ(Grip(4).Bounds(), (Rect{1024 - 11, 738 - 11, 11, 11}));
  EXPECT_EQ(skin.SkinResizable, 1);

  // That layout placed the grips, so the restore places them again.
  skin.ToggleMaximize(frm);
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 528, 255));
  EXPECT_EQ(Grip(4).Bounds(), (Rect{517, 244, 11, 11}));
}

TEST_F(WindowChrome, TheButtonAndADoubleClickOnTheTitleEachSwitchTheState) {
  struct Way {
    const char* name;
    void (*act)(FrmMain&);
  };
  const Way ways[] = {
      {"click on imgTitleMaxRestore", [](FrmMain& f) { f.Click(f["imgTitleMaxRestore"]); }},
      {"double-click on lblTitle", [](FrmMain& f) { f.DblClick(f["lblTitle"]); }},
      {"double-click on imgTitleMain", [](FrmMain& f) { f.DblClick(f["imgTitleMain"]); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    way.act(frm);
    EXPECT_EQ(h.window.state, WindowState::Maximized);
    EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), "glyph_restore.bmp");
    way.act(frm);
    EXPECT_EQ(h.window.state, WindowState::Normal);
    EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), "glyph_maximize.bmp");
  }
  // Other pieces take no double-click.
  frm.DblClick(frm["imgTitleLeft"]);
  frm.DblClick(frm["imgTitleRight"]);
  EXPECT_EQ(h.window.state, WindowState::Normal);
}

// Dragging by the title.

TEST_F(WindowChrome, APressOfAnyButtonOnATitlePieceStartsTheCaptionMove) {
  const std::vector<std::string> captionMove{"ReleaseCapture", "SendMessageA 161 2 0"};
  for (const char* piece : {"imgTitleLeft", "imgTitleMain", "imgTitleRight", "lblTitle"}) {
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
      SCOPED_TRACE(::testing::Message() << piece << " button " << static_cast<int>(button));
      h.window.calls.clear();
      MouseEvent event;
      event.button = button;
      event.shift = 3;
      event.x = 5;
      frm.MouseDown(frm[piece], event);
      EXPECT_EQ(h.window.calls, captionMove);
    }
  }
}

TEST_F(WindowChrome, TheTitleDoesNotMoveAMaximisedWindow) {
  skin.ToggleMaximize(frm);
  const TwipsRect maximised = h.window.placement;
  h.window.calls.clear();
  frm.MouseDown(frm["imgTitleMain"], MouseEvent{});
  skin.DragWindow(frm);
  EXPECT_TRUE(h.window.calls.empty());
  EXPECT_EQ(h.window.placement, maximised);
}

TEST_F(WindowChrome, FramePiecesOutsideTheGripsTakeNoPress) {
  const std::size_t changes = h.window.changes.size();
  for (const char* piece : {"imgWindowLeft", "imgWindowRight", "imgWindowBottom",
                            "imgWindowBottomLeft", "imgWindowBottomRight"}) {
    MouseEvent event;
    frm.MouseDown(frm[piece], event);
    frm.MouseUp(frm[piece], event);
    frm.Click(frm[piece]);
    frm.DblClick(frm[piece]);
  }
  EXPECT_TRUE(h.window.calls.empty());
  EXPECT_EQ(h.window.placement, Pixels(100, 80, 528, 255));
  EXPECT_EQ(h.window.changes.size(), changes);
}

}  // namespace
}  // namespace orvane
