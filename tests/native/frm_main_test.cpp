// frmMain on the fakes: its panels, the skin's layout at any window size, the
// server address for the Windows version, and the window's own commands.
#include <gtest/gtest.h>

#include <algorithm>
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

// The title's button, a double-click on the title and a maximise or restore
// from outside the skin switch alike, with the glyph to match. A grip moves
// the window's edges by the cursor's travel from press to release, never
// below the smallest size.
TEST(Skin, MaximiseRestoreEveryWayAndResizeByTheGrips) {
  Rig rig;
  FrmMain& frm = rig.frm;
  frm.Form_Load();
  const std::function<void(WindowState)> ways[] = {
      [&](WindowState) { frm.Click(frm["imgTitleMaxRestore"]); },
      [&](WindowState) { frm.DblClick(frm["lblTitle"]); },
      [&](WindowState wanted) { EXPECT_TRUE(static_cast<Form&>(frm).StateRequested(wanted)); }};
  for (const auto& toggle : ways) {
    for (const auto& [state, glyph] : {std::pair{WindowState::Maximized, "glyph_restore.bmp"},
                                       std::pair{WindowState::Normal, "glyph_maximize.bmp"}}) {
      toggle(state);
      EXPECT_EQ(rig.system.state, state);
      EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), glyph);
    }
  }
  auto drag = [&](int grip, Point from, Point to) {
    rig.system.cursor = from;
    frm.MouseDown(frm.Element("Resizer", grip), {});
    rig.system.cursor = to;
    frm.MouseUp(frm.Element("Resizer", grip), {});
  };
  drag(4, {500, 500}, {520, 490});  // bottom right
  EXPECT_EQ(rig.system.placement, (TwipsRect{0, 0, 548 * 15, 245 * 15}));
  drag(7, {0, 0}, {2000, 2000});  // top left, past the bottom right
  EXPECT_EQ(rig.system.placement, (TwipsRect{2000 * 15, 2000 * 15, 57 * 15, 90 * 15}));
}

// Windows of major version 5 lack the server's TLS; all others use https. The title label
// takes the title while the window keeps its design caption.
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
