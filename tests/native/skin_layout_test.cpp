// The skin's layout of frmMain: frame pieces and grips for the window's size,
// the rounded outline, the caption and background it sets, and the band.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "frm_main_harness.h"

namespace orvane {
namespace {

using testing::ControlState;
using testing::FrmMainHarness;
using testing::RegionCall;
using testing::Snapshot;
using testing::WindowPosCall;

constexpr std::array<const char*, 8> kFramePieces{
    "imgTitleLeft",        "imgTitleRight",        "imgTitleMain",    "imgWindowLeft",
    "imgWindowBottomLeft", "imgWindowBottomRight", "imgWindowBottom", "imgWindowRight"};

class SkinLayout : public ::testing::Test {
 protected:
  void SizeInPixels(int width, int height) {
    h.window.placement.width = static_cast<float>(width * 15);
    h.window.placement.height = static_cast<float>(height * 15);
  }
  Rect Piece(const char* name) const { return h.frm[name].Bounds(); }
  Control& Grip(int index) { return h.frm.Element("Resizer", index); }
  std::vector<Rect> GripPlaces() {
    std::vector<Rect> places;
    for (int index = 0; index < kGripCount; ++index) places.push_back(Grip(index).Bounds());
    return places;
  }

  FrmMainHarness h;
  FrmMain& frm = h.frm;
  MdlSkin& skin = h.skin;
};

TEST_F(SkinLayout, PlacesPiecesAndGripsOfA528By255Window) {
  skin.ApplySkin(frm, true);

  struct Expected {
    const char* name;
    Rect rect;
  };
  const Expected pieces[] = {
      {"imgTitleLeft", {0, 0, 19, 30}},
      {"imgTitleRight", {509, 0, 19, 30}},
      {"imgTitleMain", {19, 0, 509, 30}},
      {"imgWindowLeft", {0, 30, 19, 195}},
      {"imgWindowBottomLeft", {0, 225, 19, 30}},
      {"imgWindowBottom", {19, 225, 490, 30}},
      {"imgWindowBottomRight", {509, 225, 19, 30}},
      {"imgWindowRight", {509, 30, 19, 217}},
      {"lblTitle", {16, 7, 266, 16}},
  };
  for (const Expected& piece : pieces) EXPECT_EQ(Piece(piece.name), piece.rect) << piece.name;

  const std::vector<Rect> grips{{0, 30, 5, 195},   {523, 30, 5, 195},  {19, 0, 489, 5},
                                {19, 250, 489, 5}, {517, 244, 11, 11}, {0, 244, 11, 11},
                                {517, 0, 11, 11},  {0, 0, 11, 11}};
  EXPECT_EQ(GripPlaces(), grips);
  for (int index = 0; index < kGripCount; ++index) EXPECT_TRUE(Grip(index).Visible()) << index;
  EXPECT_EQ(skin.SkinResizable, 1);
  EXPECT_EQ(h.window.regions, (std::vector<RegionCall>{{0, 0, 528, 255, 24, 24}}));
}

TEST_F(SkinLayout, FrameAndGripsFollowTheEdgesAtAnySize) {
  struct Size {
    int width, height;
  };
  for (const Size size : {Size{528, 255}, Size{1024, 738}, Size{57, 90}, Size{801, 600}}) {
    const int W = size.width;
    const int H = size.height;
    SCOPED_TRACE(::testing::Message() << W << " x " << H);
    SizeInPixels(W, H);
    skin.ApplySkin(frm, true);

    // Every pixel of the 19-pixel sides and the 30-pixel title and bottom
    // bands lies under a frame piece, and no piece reaches outside.
    std::vector<Rect> frame;
    for (const char* name : kFramePieces) {
      const Rect piece = Piece(name);
      EXPECT_TRUE(piece.left >= 0 && piece.top >= 0 && piece.left + piece.width <= W &&
                  piece.top + piece.height <= H)
          << name;
      frame.push_back(piece);
    }
    int uncovered = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        if (x >= 19 && x < W - 19 && y >= 30 && y < H - 30) continue;
        bool covered = false;
        for (const Rect& piece : frame) covered = covered || piece.Contains(x, y);
        if (!covered) ++uncovered;
      }
    }
    EXPECT_EQ(uncovered, 0);

    // Each grip sits against its own edge or corner.
    auto right = [](const Rect& r) { return r.left + r.width; };
    auto bottom = [](const Rect& r) { return r.top + r.height; };
    EXPECT_EQ(Grip(0).Left(), 0);
    EXPECT_EQ(right(Grip(1).Bounds()), W);
    EXPECT_EQ(Grip(2).Top(), 0);
    EXPECT_EQ(bottom(Grip(3).Bounds()), H);
    EXPECT_EQ(right(Grip(4).Bounds()), W);
    EXPECT_EQ(bottom(Grip(4).Bounds()), H);
    EXPECT_EQ(Grip(5).Left(), 0);
    EXPECT_EQ(bottom(Grip(5).Bounds()), H);
    EXPECT_EQ(right(Grip(6).Bounds()), W);
    EXPECT_EQ(Grip(6).Top(), 0);
    EXPECT_EQ(Grip(7).Bounds(), (Rect{0, 0, 11, 11}));

    EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, W, H, 24, 24}));
  }
}

TEST_F(SkinLayout, WithoutGripsLeavesThemAsTheyWere) {
  skin.ApplySkin(frm, false);
  for (int index = 0; index < kGripCount; ++index) EXPECT_FALSE(Grip(index).Visible()) << index;
  EXPECT_EQ(skin.SkinResizable, 0);

  skin.ApplySkin(frm, true);
  const std::vector<Rect> normalPlaces = GripPlaces();

  // Maximised: the frame follows the new size, the grips stay put and shown.
  SizeInPixels(1024, 738);
  skin.ApplySkin(frm, false);
  EXPECT_EQ(GripPlaces(), normalPlaces);
  for (int index = 0; index < kGripCount; ++index) EXPECT_TRUE(Grip(index).Visible()) << index;
  EXPECT_EQ(skin.SkinResizable, 0);
  EXPECT_EQ(Piece("imgTitleRight"), (Rect{1005, 0, 19, 30}));
  EXPECT_EQ(Piece("imgWindowBottom"), (Rect{19, 708, 986, 30}));
  EXPECT_EQ(Piece("imgWindowRight"), (Rect{1005, 30, 19, 700}));
  EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, 1024, 738, 24, 24}));
}

TEST_F(SkinLayout, SecondLayoutAtSameSizeChangesNothing) {
  skin.ApplySkin(frm, true);
  const std::vector<ControlState> first = Snapshot(frm);
  skin.ApplySkin(frm, true);
  EXPECT_EQ(Snapshot(frm), first);
  ASSERT_EQ(h.window.regions.size(), 2u);
  EXPECT_EQ(h.window.regions[1], h.window.regions[0]);
}

TEST_F(SkinLayout, WindowSizeInPixelsRoundsHalvesToEven) {
  struct Case {
    float widthTwips, heightTwips;
    double twipsPerPixelX, twipsPerPixelY;
    int W, H;
  };
  const Case cases[] = {
      {7927.5f, 3825, 15, 15, 528, 255},     // 528.5 goes down to the even 528
      {7942.5f, 3832.5f, 15, 15, 530, 256},  // 529.5 and 255.5 go up to the even neighbour
      {7930, 3830, 15, 15, 529, 255},        // 528.67 and 255.33: nearest, not truncated
      {6336, 5100, 12, 20, 528, 255},        // each direction by its own scale
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.widthTwips << " x " << c.heightTwips << " twips");
    h.window.placement.width = c.widthTwips;
    h.window.placement.height = c.heightTwips;
    h.window.twipsPerPixelX = c.twipsPerPixelX;
    h.window.twipsPerPixelY = c.twipsPerPixelY;
    EXPECT_EQ(SkinWidth(frm), c.W);
    EXPECT_EQ(SkinHeight(frm), c.H);
    skin.ApplySkin(frm, true);
    EXPECT_EQ(Piece("imgTitleRight").left, c.W - 19);
    EXPECT_EQ(Piece("imgWindowBottom").top, c.H - 30);
    EXPECT_EQ(h.window.regions.back(), (RegionCall{0, 0, c.W, c.H, 24, 24}));
  }
}

TEST_F(SkinLayout, CopiesTitleIntoCaptionAndRestoresTitlePlaceAndBackground) {
  Control& title = frm["lblTitle"];
  title.SetCaption("Install && Upgrade");
  title.Move(60, 20);
  frm.SetBackColor(Color::Rgb(0, 0, 0));

  skin.ApplySkin(frm, false);
  EXPECT_EQ(h.window.caption, "Install && Upgrade");
  EXPECT_EQ(frm.Caption(), "Install && Upgrade");
  EXPECT_EQ(title.Bounds(), (Rect{16, 7, 266, 16}));
  EXPECT_EQ(h.window.backColor, Color::Rgb(207, 207, 207));
  EXPECT_EQ(frm.BackColor(), Color::Rgb(207, 207, 207));
}

TEST_F(SkinLayout, TopMostChangesOnlyTheBand) {
  const TwipsRect placement = h.window.placement;
  skin.SetTopMost(frm, false);
  skin.SetTopMost(frm, true);
  EXPECT_EQ(h.window.windowPositions,
            (std::vector<WindowPosCall>{{InsertAfter::NoTopMost, 0, 0, 0, 0, 3},
                                        {InsertAfter::TopMost, 0, 0, 0, 0, 3}}));
  EXPECT_EQ(h.window.placement, placement);
  EXPECT_TRUE(h.window.changes.empty());
  EXPECT_TRUE(h.window.regions.empty());
}

}  // namespace
}  // namespace orvane
