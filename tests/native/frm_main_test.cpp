// frmMain after start-up: the home panel, the two captions, the panels that
// Layout_Setting switches between, the panel buttons, and the stacking order
// by which the host paints and hit-tests the windowless controls.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "frm_main_harness.h"

namespace orvane {
namespace {

using testing::ControlState;
using testing::FrmMainHarness;
using testing::RegionCall;
using testing::Snapshot;
using testing::WindowPosCall;

// The values given to Layout_Setting: the five panels, then two that name none.
constexpr std::array<const char*, 7> kParas{"",     "InsTrue", "Upgrade", "Proxy",
                                            "Help", "help",    "Settings"};

// Which panel controls show after each value of kParas ('x' shown, '.' hidden).
struct PanelVisibility {
  const char* control;
  const char* shownAfter;
};
// clang-format off
constexpr std::array<PanelVisibility, 18> kPanelVisibility{{
    //                 ""  InsTrue Upgrade Proxy Help help other
    {"bg",          "x......"},
    {"bg1",         ".x....."},
    {"bg2",         "..x...."},
    {"bg3",         "...x..."},
    {"bg5",         "....x.."},
    {"cmdOrvane",   "xxxxxxx"},
    {"cmdHelp",     "xxxxxxx"},
    {"cmdProxy",    "xxxxxxx"},
    {"cmdExit",     "xxxxxxx"},
    {"cmdUpd",      "xx.xxxx"},
    {"cmdStop",     ".x....."},
    {"cmdOK",       "..x...."},
    {"txtFolder",   "..x...."},
    {"cmdBr",       "..x...."},
    {"txtIP",       "...x..."},
    {"txtPort",     "...x..."},
    {"ProgressBar", ".xx..xx"},
    {"ProgressCap", ".xx..xx"},
}};
// clang-format on

bool IsPanelControl(std::string_view name) {
  for (const PanelVisibility& row : kPanelVisibility) {
    if (row.control == name) return true;
  }
  return false;
}

class StartedWindow : public ::testing::Test {
 protected:
  StartedWindow() { frm.Form_Load(); }

  // What the download engine leaves on screen halfway through a transfer.
  void ShowProgress() {
    frm["ProgressBar"].SetWidth(252);
    frm["ProgressCap"].SetCaption("512 KB / 1,024 KB (50%)");
  }

  void ExpectPanel(std::size_t para) {
    for (const PanelVisibility& row : kPanelVisibility) {
      EXPECT_EQ(frm[row.control].Visible(), row.shownAfter[para] == 'x')
          << row.control << " after \"" << kParas[para] << "\"";
    }
    EXPECT_EQ(frm["ProgressBar"].Bounds(), (Rect{12, 214, 1, 23}));
    EXPECT_EQ(frm["ProgressCap"].Caption(), "");
  }

  // The front-most painted control under a window point: "Resizer(2)" for a
  // grip, "" where the bare form shows.
  std::string ControlAt(int x, int y) const {
    const Control* hit = frm.HitTest(x, y);
    if (hit == nullptr) return "";
    if (hit->Index() < 0) return hit->Name();
    return hit->Name() + "(" + std::to_string(hit->Index()) + ")";
  }

  std::ptrdiff_t Depth(std::string_view name) const {
    const auto& controls = frm.Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
      if (controls[i].Name() == name) return static_cast<std::ptrdiff_t>(i);
    }
    ADD_FAILURE() << "no control " << name;
    return -1;
  }

  FrmMainHarness h;
  FrmMain& frm = h.frm;
};

using Startup = StartedWindow;
using PanelSwitching = StartedWindow;
using PanelButtons = StartedWindow;
using Stacking = StartedWindow;

TEST_F(Startup, ShowsHomePanelInSkinnedWindowOfNormalBand) {
  ExpectPanel(0);
  for (const char* box : {"txtFolder", "txtIP", "txtPort"}) EXPECT_EQ(frm[box].Caption(), "");
  for (int grip = 0; grip < kGripCount; ++grip) {
    EXPECT_TRUE(frm.Element("Resizer", grip).Visible()) << "grip " << grip;
  }
  EXPECT_EQ(h.skin.SkinResizable, 1);
  EXPECT_EQ(h.window.backColor, Color::Rgb(207, 207, 207));
  EXPECT_EQ(h.window.regions, (std::vector<RegionCall>{{0, 0, 528, 255, 24, 24}}));
  EXPECT_EQ(h.window.windowPositions,
            (std::vector<WindowPosCall>{{InsertAfter::NoTopMost, 0, 0, 0, 0, 3}}));
  EXPECT_EQ(h.window.placement, (TwipsRect{0, 0, 528 * 15, 255 * 15}));
  EXPECT_EQ(frm.Downloading, kVbFalse);
  EXPECT_EQ(h.download.ServerBase.rfind("http", 0), 0u) << h.download.ServerBase;
  EXPECT_TRUE(h.internet.calls.empty()) << "nothing is fetched before a click";
  EXPECT_TRUE(h.files.operations.empty());
}

TEST_F(Startup, TitleShowsOneAmpersandWhileWindowCaptionKeepsDesignCaption) {
  const std::string& title = frm["lblTitle"].Caption();
  EXPECT_EQ(title, "Install && Upgrade Orvane 12 .0");
  EXPECT_EQ(h.window.caption, "Orvane Tools");
  EXPECT_EQ(frm.Caption(), "Orvane Tools");

  // The next layout (a maximise, restore or resize) copies the title text.
  h.skin.ApplySkin(frm, true);
  EXPECT_EQ(h.window.caption, title);
}

// Also from a panel to itself: "InsTrue" again empties the caption and
// shrinks the bar that a download had filled.
TEST_F(PanelSwitching, ShowsExactlyTheNamedPanelWhicheverPanelWasShown) {
  for (std::size_t from = 0; from < kParas.size(); ++from) {
    for (std::size_t to = 0; to < kParas.size(); ++to) {
      SCOPED_TRACE("from \"" + std::string(kParas[from]) + "\" to \"" + kParas[to] + "\"");
      frm.Layout_Setting(kParas[from]);
      ShowProgress();
      frm.Layout_Setting(kParas[to]);
      ExpectPanel(to);
    }
  }
}

TEST_F(PanelSwitching, OnlyProxyPanelMovesFocusToAddressBox) {
  for (const char* para : kParas) {
    if (std::string_view(para) != "Proxy") frm.Layout_Setting(para);
  }
  EXPECT_EQ(h.window.focused, nullptr);
  frm.Layout_Setting("Proxy");
  EXPECT_EQ(h.window.focused, &frm["txtIP"]);
}

TEST_F(PanelSwitching, LeavesEverythingOutsideThePanelsAlone) {
  // Give the untouched controls states that no panel would give them.
  for (const char* button : {"cmdOrvane", "cmdHelp", "cmdProxy", "cmdExit"}) {
    frm[button].SetVisible(false);
  }
  frm["lblTitle"].SetCaption("moved title");
  frm["lblTitle"].Move(40, 3);
  frm.Element("Resizer", 2).SetVisible(false);
  frm["imgTitleMain"].SetWidth(100);
  frm["txtIP"].TakeTypedText("10.0.0.8");
  frm["txtPort"].TakeTypedText("3128");
  h.files.Put("D:\\Orvane\\Orvane.dll", "");  // an installation, so the box keeps it
  h.files.Put("D:\\Orvane\\Report\\Info.xml", "");
  frm["txtFolder"].TakeTypedText("D:\\Orvane");
  frm.Downloading = kVbTrue;
  const std::vector<ControlState> before = Snapshot(frm);

  for (const char* para : kParas) {
    SCOPED_TRACE("\"" + std::string(para) + "\"");
    frm.Layout_Setting(para);
    const std::vector<ControlState> after = Snapshot(frm);
    for (std::size_t i = 0; i < after.size(); ++i) {
      if (IsPanelControl(after[i].name)) continue;
      EXPECT_EQ(after[i], before[i]);
    }
    EXPECT_EQ(frm["txtIP"].Caption(), "10.0.0.8");
    EXPECT_EQ(frm["txtPort"].Caption(), "3128");
    EXPECT_EQ(frm["txtFolder"].Caption(), "D:\\Orvane");
    EXPECT_EQ(frm.Downloading, kVbTrue);
  }
  frm.Layout_Setting("Help");
  EXPECT_TRUE(frm["bg5"].Visible()) << "a running download doesn't stop Layout_Setting itself";
}

TEST_F(PanelButtons, OpenTheirPanelsOnlyWhileNoDownloadRuns) {
  struct ButtonPanel {
    const char* button;
    const char* background;
  };
  const ButtonPanel buttons[] = {{"cmdUpd", "bg2"}, {"cmdHelp", "bg5"}, {"cmdProxy", "bg3"}};
  for (const ButtonPanel& pair : buttons) {
    frm.Layout_Setting("");
    frm.Click(frm[pair.button]);
    EXPECT_TRUE(frm[pair.background].Visible()) << pair.button;
    EXPECT_FALSE(frm["bg"].Visible()) << pair.button;
  }

  frm.Layout_Setting("InsTrue");
  ShowProgress();
  frm.Downloading = kVbTrue;
  const std::vector<ControlState> during = Snapshot(frm);
  for (const ButtonPanel& pair : buttons) {
    frm.Click(frm[pair.button]);
    EXPECT_EQ(Snapshot(frm), during) << pair.button << " acted during a download";
  }
}

TEST_F(Stacking, WindowedControlsLieInFrontOfEveryPaintedOne) {
  bool paintedSeen = false;
  for (const Control& control : frm.Controls()) {
    if (!control.Windowed()) {
      paintedSeen = true;
      continue;
    }
    EXPECT_FALSE(paintedSeen) << control.Name() << " lies behind a painted control";
    EXPECT_TRUE(control.Kind() == ControlKind::PictureButton ||
                control.Kind() == ControlKind::TextBox);
  }
  // Where two controls share a place, the one meant to be seen lies in front.
  EXPECT_LT(Depth("cmdStop"), Depth("cmdOrvane"));
  EXPECT_LT(Depth("cmdOK"), Depth("cmdUpd"));
  EXPECT_LT(Depth("ProgressCap"), Depth("ProgressBar"));
  // bg5 lies in front of both, but the help panel never shows them.
  for (const char* background : {"bg", "bg1", "bg2", "bg3"}) {
    EXPECT_LT(Depth("ProgressBar"), Depth(background)) << background;
  }
}

TEST_F(Stacking, MouseGoesToFrontMostShownPaintedControl) {
  struct Probe {
    int x, y;
    const char* expected;
  };
  const Probe home[] = {
      {20, 10, "lblTitle"},                // the title text over the title bar
      {300, 12, "imgTitleMain"},           // below the top grip, right of the title
      {300, 2, "Resizer(2)"},              // the top grip over the title bar
      {515, 15, "imgTitleRight"},          // the right end over the title's middle
      {520, 5, "Resizer(6)"},              // the top-right grip over the title's end
      {118, 26, "imgTitleMaxRestore"},     // no picture yet, still a click area
      {2, 100, "Resizer(0)"},              // the left grip over the left strip
      {6, 100, "imgWindowLeft"},           // beside the grip, left of the background
      {10, 100, "bg"},                     // the background overlaps the side strip
      {520, 240, "imgWindowBottomRight"},  // the corner over the right strip
      {525, 250, "Resizer(4)"},            // a grip has no picture and still takes the mouse
      {400, 60, "bg"},                     // cmdOrvane's place: buttons are windows of their own
      {200, 35, ""},                       // between title bar and background: the bare form
  };
  for (const Probe& probe : home) {
    EXPECT_EQ(ControlAt(probe.x, probe.y), probe.expected) << probe.x << ", " << probe.y;
  }
  EXPECT_EQ(frm.Element("Resizer", 4).Picture(), "");

  frm.Element("Resizer", 4).SetVisible(false);
  EXPECT_EQ(ControlAt(525, 250), "imgWindowBottomRight") << "a hidden grip takes no mouse";

  frm.Layout_Setting("InsTrue");
  EXPECT_EQ(ControlAt(100, 225), "ProgressCap");
  EXPECT_EQ(ControlAt(12, 215), "ProgressBar");
  EXPECT_EQ(ControlAt(100, 100), "bg1");
  frm.Layout_Setting("Help");
  EXPECT_EQ(ControlAt(100, 225), "bg5");
}

}  // namespace
}  // namespace orvane
