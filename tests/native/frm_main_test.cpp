// frmMain on the fakes: its panels, the window's band, the title and grips
// that move, switch and size it (its layout is checked where it is painted),
// the server address for the Windows version, and the install and the
// upgrade, driven by clicks as a user would.
#include <gtest/gtest.h>

#include <functional>

#include "download/download_text.h"
#include "fakes.h"

namespace orvane::testing {
namespace {

using Lines = std::vector<std::string>;
const std::string kInstaller = "C:\\Tools\\install.exe";
const std::string kServer = "https://" + std::string(ProductServerHost());
const std::string kFolder = "D:\\Ph\xE1\xBA\xA7n m\xE1\xBB\x81m\\Orvane";
const std::string kUpdater = kFolder + "\\Tarvik.exe";
const std::string kInfo = kFolder + "\\Report\\Info.xml";
const char* const kNetErr = "Download khong thanh cong.\r\nXin vui long kiem tra ket noi Internet.";
const char* const kFileErr =
    "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap.";
const char* const kStartFailed =
    "Khong khoi dong duoc chuong trinh vua tai ve.\r\nXin vui long lien he nha cung cap.";

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
      rig.frm.Layout_Setting(to);
      std::string shown;
      for (const char* name : checked) {
        if (rig.frm[name].Visible()) shown += (shown.empty() ? "" : " ") + std::string(name);
      }
      EXPECT_EQ(shown, expected) << "from \"" << from << "\" to \"" << to << "\"";
      EXPECT_EQ(rig.frm["ProgressBar"].Width(), 1);
      EXPECT_EQ(rig.frm["ProgressCap"].Caption(), "");
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
// older, newer or unknown, use https.
TEST(FrmMain, StartupUsesPlainHttpOnlyOnWindowsOfMajorVersion5) {
  for (const std::uint32_t majorVersion : {0u, 3u, 4u, 5u, 6u, 10u}) {
    for (const std::uint32_t minorVersion : {0u, 1u, 2u, 10u}) {
      for (const std::uint32_t platformId : {1u, kVerPlatformWin32Nt}) {
        Rig rig;
        rig.system.majorVersion = majorVersion;
        rig.system.minorVersion = minorVersion;
        rig.system.platformId = platformId;
        rig.frm.Form_Load();
        EXPECT_EQ(rig.download.ServerBase,
                  (majorVersion == 5 ? "http://" : "https://") + std::string(ProductServerHost()))
            << majorVersion << "." << minorVersion << " on platform " << platformId;
      }
    }
  }
}

// A started window, an older installer and updater, an installation in
// kFolder, and 5,000 bytes on the server: two blocks, so each download runs
// the message loop inside too.
struct WorkflowRig : Rig {
  WorkflowRig() {
    frm.Form_Load();
    internet.Serve(std::string(5000, 'x'));
    files.files = {
        {kInstaller, "old"}, {kUpdater, "old"}, {kFolder + "\\Orvane.dll", ""}, {kInfo, ""}};
    system.customers[kInfo] = "  ACME-01\r\n";
  }
  void Install() { frm.Click(frm["cmdOrvane"]); }
  void Upgrade() {
    frm.Click(frm["cmdUpd"]);
    frm.TextTyped(frm["txtFolder"], kFolder);
    frm.Click(frm["cmdOK"]);
  }
};

// The old installer goes first, even when the download then fails.
TEST(Install, StartsTheInstallerOrShowsTheMessageForTheFailureThenReturnsHome) {
  for (const auto& [status, addressOpens, message] :
       {std::tuple{"200", true, ""}, std::tuple{"404", true, kFileErr},
        std::tuple{"500", true, kNetErr}, std::tuple{"200", false, kNetErr}}) {
    SCOPED_TRACE(::testing::Message() << status << (addressOpens ? "" : " unreachable"));
    WorkflowRig rig;
    rig.internet.status = status;
    rig.internet.addressOpens = addressOpens;
    rig.frm.TextTyped(rig.frm["txtIP"], "10.0.0.1");
    rig.frm.TextTyped(rig.frm["txtPort"], "3128");
    bool stopShown = false;
    rig.system.onPass = [&] { stopShown = rig.frm["cmdStop"].Visible(); };

    rig.Install();

    const bool ok = *message == '\0';
    EXPECT_EQ(rig.internet.sessions, Lines{"3 10.0.0.1:3128"});
    EXPECT_EQ(rig.internet.urls, Lines{kServer + "/install/install.exe"});
    EXPECT_EQ(rig.files.FileExists(kInstaller), ok);
    EXPECT_EQ(rig.system.started, ok ? Lines{kInstaller} : Lines{});
    EXPECT_EQ(rig.system.messages, ok ? Lines{} : Lines{message});
    EXPECT_EQ(stopShown, ok) << "the progress panel shows during the download";
    EXPECT_FALSE(rig.frm.Downloading);
    EXPECT_TRUE(rig.frm["bg"].Visible());
    EXPECT_FALSE(rig.system.unloaded);
  }
}

// A queued double-click, or any click while a block arrives, runs inside a
// message-loop pass: it must neither start anything nor switch panels.
TEST(Workflows, ClicksInsideADownloadDoNothing) {
  for (const bool upgrade : {false, true}) {
    SCOPED_TRACE(upgrade ? "upgrade" : "install");
    WorkflowRig rig;
    bool switched = false;
    rig.system.onPass = [&] {
      for (const char* name : {"cmdOrvane", "cmdOK", "cmdBr", "cmdUpd", "cmdHelp", "cmdProxy"})
        rig.frm.Click(rig.frm[name]);
      switched = switched || rig.frm["bg3"].Visible() || rig.frm["bg5"].Visible() ||
                 rig.frm["bg2"].Visible() != upgrade;
    };

    upgrade ? rig.Upgrade() : rig.Install();

    EXPECT_EQ(rig.internet.sessions.size(), upgrade ? 3u : 1u);
    EXPECT_EQ(rig.system.started.size(), 1u);
    EXPECT_EQ(rig.system.dialogs, 0);
    EXPECT_TRUE(rig.system.messages.empty());
    EXPECT_FALSE(switched);
  }
}

// Each download starts with a message-loop pass; there the failing one gets a 404.
TEST(Upgrade, StopsAfterAFailedStepButCopesWithoutTheSystemPackage) {
  for (const auto& [failing, downloads, handedOver] :
       {std::tuple{0u, 1u, false}, std::tuple{1u, 3u, true}, std::tuple{2u, 3u, false}}) {
    SCOPED_TRACE(failing);
    WorkflowRig rig;
    const std::string systemPackage = kFolder + "\\OrvaneTarvikTemp\\Orvane_sys.rar";
    rig.files.files[systemPackage] = "from an earlier run";
    rig.system.onPass = [&rig, failing = failing] {
      rig.internet.status = rig.internet.urls.size() == failing ? "404" : "200";
    };

    rig.Upgrade();

    if (failing == 1) {
      EXPECT_FALSE(rig.files.FileExists(systemPackage)) << "nothing stale is handed over";
    }
    EXPECT_EQ(rig.internet.urls.size(), downloads);
    EXPECT_EQ(rig.system.messages, handedOver ? Lines{} : Lines{kFileErr});
    EXPECT_EQ(rig.system.started.size(), handedOver ? 1u : 0u);
    EXPECT_EQ(rig.system.unloaded, handedOver);
    EXPECT_TRUE(handedOver || !rig.frm.Downloading) << "a failed upgrade can be tried again";
    EXPECT_TRUE(rig.frm["bg2"].Visible());
  }
}

// The updater, the system package and the customer's package, each in its
// place, then the hand-over to the updater. The Customer text of Info.xml
// names the package's folder on the server: only one safe path segment is
// fetched, and without one nothing is deleted or fetched.
TEST(Upgrade, FetchesThreeFilesForASafeCustomerNameThenHandsOver) {
  // Customer texts, and the name of the package's folder ("" where refused).
  const std::string z64(64, 'z');
  std::vector<std::pair<std::optional<std::string>, std::string>> names = {
      {"  ACME-01\r\n", "ACME-01"}, {std::nullopt, ""}};
  for (const std::string& safe : {std::string("a_0.b-c"), std::string("..a"), z64})
    names.push_back({safe, safe});
  for (const std::string& refused : std::vector<std::string>{
           "../x", "..", ".", "a\\b", "a/b", "%2e", "a b", "caf\xC3\xA9", " \n ", z64 + "z"})
    names.push_back({refused, ""});
  const std::string tarvik = kServer + "/Tarvik/", temp = kFolder + "\\OrvaneTarvikTemp";
  for (const auto& [text, name] : names) {
    SCOPED_TRACE(text.value_or("no Customer"));
    WorkflowRig rig;
    rig.system.customers.erase(kInfo);
    if (text) rig.system.customers[kInfo] = *text;

    rig.Upgrade();

    const bool safe = !name.empty();
    const Lines fetched{tarvik + "Tarvik.exe", tarvik + "Orvane_sys.rar",
                        tarvik + name + "/Orvane.rar"};
    EXPECT_EQ(rig.internet.urls, safe ? fetched : Lines{});
    EXPECT_EQ(rig.files.files[kUpdater], safe ? rig.internet.body : "old");
    EXPECT_EQ(rig.files.folders.count(temp) > 0, safe);
    EXPECT_EQ(rig.files.FileExists(temp + "\\Orvane_sys.rar") &&
                  rig.files.FileExists(temp + "\\Orvane.rar"),
              safe);
    EXPECT_EQ(rig.system.started, safe ? Lines{kUpdater} : Lines{});
    EXPECT_EQ(rig.system.unloaded && rig.system.ended, safe);
    EXPECT_EQ(rig.system.messages.size(), safe ? 0u : 1u);
  }
}

// A program that won't start is said so, in the same words for both; a
// declined prompt for its rights is the user's own choice. The window stays.
TEST(Workflows, AProgramThatWontStartIsSaidSoAndTheWindowStays) {
  for (const bool upgrade : {false, true}) {
    for (const auto& [outcome, messages] : {std::pair{StartOutcome::Failed, Lines{kStartFailed}},
                                            std::pair{StartOutcome::Declined, Lines{}}}) {
      SCOPED_TRACE(::testing::Message() << upgrade << " " << static_cast<int>(outcome));
      WorkflowRig rig;
      rig.system.startOutcome = outcome;

      upgrade ? rig.Upgrade() : rig.Install();

      EXPECT_EQ(rig.system.started, Lines{upgrade ? kUpdater : kInstaller});
      EXPECT_EQ(rig.system.messages, messages);
      EXPECT_FALSE(rig.system.unloaded || rig.system.ended);
      EXPECT_FALSE(rig.frm.Downloading || rig.frm["txtFolder"].Locked());
    }
  }
}

// Whatever happens to the folder box meanwhile, every file of the upgrade
// goes to the folder it started in, and the box takes no typing until the
// upgrade is over.
TEST(Upgrade, StaysInTheFolderItStartedInWithTheBoxLocked) {
  WorkflowRig rig;
  bool locked = true;
  rig.system.onPass = [&] {
    locked = locked && rig.frm["txtFolder"].Locked();
    rig.frm["txtFolder"].SetCaption("");
  };

  rig.Upgrade();

  EXPECT_TRUE(locked);
  EXPECT_EQ(rig.system.started, Lines{kUpdater});
  for (const auto& [path, bytes] : rig.files.files)
    EXPECT_EQ(path.rfind(kFolder, 0) == 0 || path == kInstaller, true) << path;
}

// Stop and Exit in the middle of a download: the partial file is closed and
// gone before the program ends (and before Stop starts the fresh copy).
TEST(Workflows, StopAndExitMidDownloadLeaveNoPartialFile) {
  for (const char* command : {"cmdExit", "cmdStop"}) {
    SCOPED_TRACE(command);
    WorkflowRig rig;
    bool partialBefore = false, partialAfter = true;
    rig.system.onPass = [&] {
      if (!rig.files.open.count(PartialFileName(kInstaller))) return;
      partialBefore = true;
      rig.frm.Click(rig.frm[command]);
      partialAfter = rig.files.FileExists(PartialFileName(kInstaller));
      rig.system.onPass = nullptr;
    };

    rig.Install();

    EXPECT_TRUE(partialBefore);
    EXPECT_FALSE(partialAfter);
    EXPECT_TRUE(rig.system.ended);
  }
}

}  // namespace
}  // namespace orvane::testing
