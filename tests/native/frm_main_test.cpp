// frmMain on the fakes: panels, band, title and grips (the layout is checked where it is painted).
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "fakes.h"

namespace orvane::testing {
namespace {

// Each panel from every panel before it, with a download's progress left on screen.
TEST(FrmMain, LayoutSettingShowsExactlyTheNamedPanel) {
  const char* const checked[] = {"bg",     "bg1",     "bg2",         "bg3",        "bg5",
                                 "cmdUpd", "cmdStop", "cmdOK",       "txtFolder",  "cmdBr",
                                 "txtIP",  "txtPort", "ProgressBar", "ProgressCap"};
  const std::pair<Panel, std::string> panels[] = {
      {Panel::Home, "bg cmdUpd"},
      {Panel::Installing, "bg1 cmdUpd cmdStop ProgressBar ProgressCap"},
      {Panel::Upgrade, "bg2 cmdOK txtFolder cmdBr ProgressBar ProgressCap"},
      {Panel::Proxy, "bg3 cmdUpd txtIP txtPort"},
      {Panel::Help, "bg5 cmdUpd"}};
  Rig rig;
  rig.frm.Form_Load();
  for (const auto& [from, ignored] : panels) {
    for (const auto& [to, expected] : panels) {
      rig.frm.Layout_Setting(from);
      rig.frm["ProgressBar"].SetWidth(252);
      rig.frm["ProgressCap"].SetCaption("Downloading ... 50%");
      rig.system.focused.clear();
      rig.frm.Layout_Setting(to);
      std::string shown;
      for (const char* name : checked)
        if (rig.frm[name].Visible()) shown += (shown.empty() ? "" : " ") + std::string(name);
      EXPECT_EQ(shown, expected) << static_cast<int>(from) << " to " << static_cast<int>(to);
      EXPECT_EQ(rig.frm["ProgressBar"].Width(), 1);
      EXPECT_EQ(rig.frm["ProgressCap"].Caption(), "");
      EXPECT_EQ(rig.system.focused, to == Panel::Proxy ? "txtIP" : "");
    }
  }
}

// Tab takes the keyboard through each panel's shown boxes and buttons in reading order and round
// the end, Shift+Tab the other way; never to a hidden control or to Install under Stop.
TEST(FrmMain, TabVisitsEachPanelsControlsInReadingOrder) {
  const std::pair<Panel, std::string> orders[] = {
      {Panel::Home, "cmdOrvane cmdUpd cmdHelp cmdProxy cmdExit"},
      {Panel::Installing, "cmdStop cmdUpd cmdHelp cmdProxy cmdExit"},
      {Panel::Upgrade, "txtFolder cmdBr cmdOrvane cmdOK cmdHelp cmdProxy cmdExit"},
      {Panel::Proxy, "txtIP txtPort cmdOrvane cmdUpd cmdHelp cmdProxy cmdExit"}};
  Rig rig;
  rig.frm.Form_Load();
  for (const auto& [panel, order] : orders) {
    rig.frm.Layout_Setting(panel);
    const auto count = std::count(order.begin(), order.end(), ' ') + 1;
    std::string forward, backward;
    const Control* ahead = nullptr;
    const Control* behind = nullptr;
    for (int step = 0; step <= count; ++step) {  // once round, and one more
      ahead = rig.frm.NextFocus(ahead, false);
      behind = rig.frm.NextFocus(behind, true);
      forward += ahead->Name() + " ";
      backward = " " + behind->Name() + backward;
    }
    EXPECT_EQ(forward, order + " " + order.substr(0, order.find(' ')) + " ");
    EXPECT_EQ(backward, " " + order.substr(order.rfind(' ') + 1) + " " + order);
  }
}

// Each button's command while the window is idle, and while a download runs, when only Stop and
// Exit act. The folder box's double-click and closing the window are the folder button's and
// Exit's commands.
TEST(FrmMain, EachButtonRunsItsCommandAndOnlyStopAndExitActWhileDownloading) {
  const std::pair<const char*, std::string> commands[] = {{"cmdOrvane", "bg requests 1 started 1"},
                                                          {"cmdStop", "bg started 1 ended"},
                                                          {"cmdUpd", "bg2"},
                                                          {"cmdOK", "bg messages 1 dialog"},
                                                          {"cmdBr", "bg dialog"},
                                                          {"txtFolder", "bg dialog"},
                                                          {"cmdHelp", "bg5"},
                                                          {"cmdProxy", "bg3"},
                                                          {"cmdExit", "bg ended"},
                                                          {"close", "bg ended"}};
  for (const auto& [control, idle] : commands) {
    for (const bool downloading : {false, true}) {
      SCOPED_TRACE(std::string(control) + (downloading ? " while downloading" : ""));
      Rig rig;
      rig.frm.Form_Load();
      rig.frm.Downloading = downloading ? kVbTrue : kVbFalse;
      const std::string name = control;
      if (name == "close") {
        static_cast<Form&>(rig.frm).CloseRequested();
      } else if (name == "txtFolder") {
        rig.frm.DblClick(rig.frm[name]);
      } else {
        rig.frm.Click(rig.frm[name]);
      }
      std::string done;
      for (const char* panel : {"bg", "bg2", "bg3", "bg5"})
        if (rig.frm[panel].Visible()) done += panel;
      if (!rig.internet.urls.empty())
        done += " requests " + std::to_string(rig.internet.urls.size());
      if (!rig.system.messages.empty())
        done += " messages " + std::to_string(rig.system.messages.size());
      if (!rig.system.dialog.empty()) done += " dialog";
      if (!rig.system.started.empty())
        done += " started " + std::to_string(rig.system.started.size());
      if (rig.system.ended) done += " ended";
      const bool acts = !downloading || name == "cmdStop" || name == "cmdExit" || name == "close";
      EXPECT_EQ(done, acts ? idle : "bg");
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
  EXPECT_EQ(rig.system.caption, "Orvane Tools") << "the design title, copied at the load";
  frm.DblClick(frm["lblTitle"]);
  EXPECT_EQ(frm["imgTitleMaxRestore"].Picture(), "glyph_restore.bmp");
  EXPECT_EQ(rig.system.caption, frm["lblTitle"].Caption()) << "the title as it is now";
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

// Every version, 5.x included (only a compatibility setting can claim it), reaches the server over
// https; the version's name goes to the log.
TEST(FrmMain, StartupUsesHttpsOnEveryVersionAndLogsItsName) {
  const std::pair<std::uint32_t, const char*> versions[] = {// x.y as xy
                                                            {0, "Unknown Windows Version"},
                                                            {40, "Windows NT 4.0"},
                                                            {51, "Windows 2000"},
                                                            {100, "Unknown Windows Version"}};
  for (const auto& [version, name] : versions) {
    Rig rig;
    rig.system.programData = "C:\\ProgramData\\";
    rig.system.majorVersion = version / 10;
    rig.system.minorVersion = version % 10;
    rig.frm.Form_Load();
    const std::string server = "https://" + std::string(ProductServerHost());
    EXPECT_EQ(rig.download.ServerBase, server) << version;
    EXPECT_NE(rig.Log().find("Server: " + server + " on " + name), std::string::npos);
  }
}

}  // namespace
}  // namespace orvane::testing
