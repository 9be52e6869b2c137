// The workflows on the fakes, driven through frmMain's controls as a user would.
#include <gtest/gtest.h>

#include <tuple>

#include "download/download_text.h"
#include "fakes.h"
#include "platform/path_text.h"
#include "workflows/messages.h"

namespace orvane::testing {
namespace {

using Lines = std::vector<std::string>;
const std::string kInstaller = "C:\\Tools\\install.exe";
const std::string kServer = "https://" + std::string(ProductServerHost());
const std::string kFolder = "D:\\Ph\xE1\xBA\xA7n m\xE1\xBB\x81m\\Orvane";
const std::string kUpdater = kFolder + "\\Tarvik.exe";
const std::string kInfo = kFolder + "\\Report\\Info.xml";
// The Wine tests check the texts of NetErr, ProxyErr and a failed start word for word.
const char* const kFileErr =
    "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap.";
const char* const kDiskErr =
    "Khong ghi duoc tep tai ve vao may tinh.\r\n"
    "Xin vui long kiem tra quyen ghi va dung luong o dia.";
const char* const kWrongFolder =
    "Thu muc chua dung.\r\nXin vui long cho biet thu muc da cai dat Orvane.";
const char* const kNoFolder = "Xin vui long cho biet thu muc da cai dat Orvane.";
const char* const kNoCustomer =
    "Khong doc duoc ma khach hang cua ban trong thu muc da cai dat Orvane.\r\n"
    "Xin vui long lien he nha cung cap.";
const char* const kUnsigned =
    "Chuong trinh vua tai ve khong mang chu ky so cua nha cung cap nen khong duoc chay.\r\n"
    "Xin vui long lien he nha cung cap.";

// 5,000 bytes on the server: two blocks, so each download runs the message loop inside too.
struct WorkflowRig : Rig {
  explicit WorkflowRig(std::string signer = "") : Rig(std::move(signer)) {
    system.programData = "C:\\ProgramData\\";
    frm.Form_Load();
    internet.Serve(std::string(5000, 'x'));
    files.files = {
        {kInstaller, "old"}, {kUpdater, "old"}, {kFolder + "\\Orvane.dll", ""}, {kInfo, ""}};
    system.customers[kInfo] = "  ACME-01\r\n";
    files.events.clear();  // the program's own file, held from the start
  }
  void Install() { frm.Click(frm["cmdOrvane"]); }
  void Upgrade() {
    frm.Click(frm["cmdUpd"]);
    frm.TextTyped(frm["txtFolder"], kFolder);
    frm.Click(frm["cmdOK"]);
  }
};

// The old installer goes first, even when the download fails; a declined prompt is no error.
TEST(Install, StartsTheInstallerOrShowsTheMessageForTheFailureThenReturnsHome) {
  using enum StartOutcome;
  for (const auto& [status, outcome, message] :
       {std::tuple{"200", Started, ""}, std::tuple{"200", Failed, kStartFailedMessage},
        std::tuple{"200", Declined, ""}, std::tuple{"404", Started, kFileErr},
        std::tuple{"503", Started, kNetErrMessage}, std::tuple{"407", Started, kProxyErrMessage}}) {
    SCOPED_TRACE(::testing::Message() << status << " " << static_cast<int>(outcome));
    WorkflowRig rig;
    rig.internet.status = status;
    rig.system.startOutcome = outcome;
    rig.frm.TextTyped(rig.frm["txtIP"], "10.0.0.1");
    rig.frm.TextTyped(rig.frm["txtPort"], "3128");

    rig.Install();

    const bool fetched = std::string(status) == "200";
    EXPECT_EQ(rig.internet.sessions.front(), "10.0.0.1:3128");
    EXPECT_EQ(rig.files.FileExists(kInstaller), fetched);
    EXPECT_EQ(rig.system.started, fetched ? Lines{kInstaller} : Lines{});
    EXPECT_EQ(rig.system.messages, *message ? Lines{message} : Lines{});
    EXPECT_TRUE(!rig.frm.Downloading && rig.frm["bg"].Visible() && !rig.system.unloaded &&
                !rig.system.ended)
        << "home again, ready for another click";
  }
}

// What was downloaded is held so nothing can change it, checked, started and let go, in that order.
// Anything not signed by the publisher's very name, or revoked, is let go, deleted and never
// started; a revocation that could not be looked up is no refusal, but the log says so.
TEST(Workflows, StartsOnlyWhatThePublisherSignedExactlyAsChecked) {
  const std::string publisher = "Orvane Test Publisher";
  const std::pair<Signature, const char*> found[] = {
      {{publisher}, ""},
      {{publisher + "s"}, ""},
      {{}, "none intact"},
      {{""}, ""},
      {{"ORVANE TEST PUBLISHER"}, ""},
      {{std::nullopt, true}, "revoked"},
      {{publisher, false, true}, ", revocation not checked (offline)"}};
  for (const std::string& named : {std::string(), publisher}) {
    for (const bool upgrade : {false, true}) {
      for (const auto& [signature, said] : found) {
        const std::optional<std::string>& signer = signature.signer;
        SCOPED_TRACE(::testing::Message() << named << upgrade << signer.value_or(said));
        WorkflowRig rig(named);
        const std::string program = upgrade ? kUpdater : kInstaller;
        rig.files.signatures[program] = signature;

        upgrade ? rig.Upgrade() : rig.Install();

        const bool starts = named.empty() || signer == publisher;
        Lines events{"held " + program, "checked " + program, "started " + program,
                     "released " + program};
        if (named.empty()) events.erase(events.begin() + 1);
        if (!starts) events.erase(events.end() - 2);
        if (upgrade) events.insert(events.begin(), "held folder " + kFolder);
        EXPECT_EQ(rig.files.events, events);
        EXPECT_EQ(rig.files.FileExists(program), starts);
        EXPECT_EQ(rig.system.messages, starts ? Lines{} : Lines{kUnsigned});
        EXPECT_EQ(rig.system.unloaded, upgrade && starts) << "no hand-over to a refused updater";
        const std::string log = rig.Log();
        const std::size_t at = std::min(log.find("Signature of "), log.size());
        EXPECT_EQ(log.substr(at, log.find("\r\n", at) - at),
                  named.empty() ? ""
                                : "Signature of " + program + ": " +
                                      (signer ? "signed by \"" + *signer + "\"" : "") + said +
                                      (starts ? "" : ", not \"" + publisher + "\": deleted"));
      }
    }
  }
}

// Clicks and typing inside a pass change nothing. Each download has four full, unpaced passes: one
// before its panel shows, one that paints it, and one for each of the fetch's two waits.
TEST(Workflows, ClicksAndTypingInsideADownloadChangeNothing) {
  for (const bool upgrade : {false, true}) {
    SCOPED_TRACE(upgrade ? "upgrade" : "install");
    WorkflowRig rig;
    bool switched = false, unlocked = false, stopShown = false;
    rig.system.onPass = [&] {
      stopShown = rig.frm["cmdStop"].Visible();  // at the last pass, inside the download
      for (const char* name : {"cmdOrvane", "cmdOK", "cmdBr", "cmdUpd", "cmdHelp", "cmdProxy"})
        rig.frm.Click(rig.frm[name]);
      unlocked = unlocked || (upgrade && !rig.frm["txtFolder"].Locked());
      rig.frm["txtFolder"].SetCaption("");
      switched = switched || rig.frm["bg3"].Visible() || rig.frm["bg5"].Visible() ||
                 rig.frm["bg2"].Visible() != upgrade;
    };

    upgrade ? rig.Upgrade() : rig.Install();

    EXPECT_EQ(rig.system.passes, (upgrade ? 3 : 1) * 4);
    EXPECT_EQ(rig.system.started, Lines{upgrade ? kUpdater : kInstaller});
    EXPECT_EQ(stopShown, !upgrade) << "the install panel shows during the download";
    EXPECT_TRUE(rig.system.dialog.empty() && rig.system.messages.empty() && !switched && !unlocked)
        << "no dialog, message, other panel or unlocked box";
  }
}

// Info.xml's Customer names the package's folder on the server: without one safe path segment
// nothing is deleted or fetched; with one, three files each in its place, then the hand-over.
TEST(Upgrade, FetchesThreeFilesForASafeCustomerNameThenHandsOver) {
  const std::string z64(64, 'z');
  std::vector<std::pair<std::optional<std::string>, std::string>> names = {
      {"  ACME-01\r\n", "ACME-01"}, {std::nullopt, ""}};
  for (const std::string& safe : Lines{"a_0.b-c", "..a", z64}) names.push_back({safe, safe});
  for (const std::string& refused :
       Lines{"../x", "..", ".", "a\\b", "a/b", "%2e", "a b", "caf\xC3\xA9", " \n ", z64 + "z"})
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
    EXPECT_EQ((std::vector<bool>{rig.files.folders.count(temp) > 0,
                                 rig.files.FileExists(temp + "\\Orvane_sys.rar"),
                                 rig.files.FileExists(temp + "\\Orvane.rar"), rig.system.unloaded,
                                 rig.system.ended, rig.system.messages.empty()}),
              std::vector<bool>(6, safe));
  }
}

// The upgrade stops at the first failed step with its message, and stays: a 404 (at the pass before
// download 0, 1 or 2), a failed or declined start, a file or link named OrvaneTarvikTemp (even one
// A folder chosen through a link is held and worked in by the path the system has for it: the
// customer's name, the downloads and the start. A program that lies elsewhere, once held, is never
// started. The installer and the updater take their DLLs from the system folder first.
TEST(Upgrade, WorksInTheHeldFolderByItsFinalPathAndStartsOnlyWhatLiesThere) {
  const std::string real = "E:\\Real\\Orvane";
  for (const auto& [led, inside] :
       {std::pair{"", true}, std::pair{"E:\\Real\\Orvane\\New\\Tarvik.exe", true},
        std::pair{"E:\\Other\\Tarvik.exe", false},
        std::pair{"E:\\Real\\OrvaneTarvik.exe", false}}) {
    SCOPED_TRACE(led);
    WorkflowRig rig;
    rig.files.finalPaths[kFolder] = real;
    rig.files.files[real + "\\Report\\Info.xml"] = "";
    rig.system.customers[real + "\\Report\\Info.xml"] = "ACME-01";
    if (*led) rig.files.finalPaths[real + "\\Tarvik.exe"] = led;
    rig.Upgrade();
    EXPECT_EQ(rig.internet.urls.size(), 3u);
    EXPECT_TRUE(rig.files.FileExists(real + "\\OrvaneTarvikTemp\\Orvane.rar"));
    const std::string final = *led ? led : real + "\\Tarvik.exe";
    EXPECT_EQ(rig.system.started, inside ? Lines{final} : Lines{});
    EXPECT_EQ(rig.system.messages, inside ? Lines{} : Lines{kStartFailedMessage});
    EXPECT_EQ(
        rig.Log().find("Program refused: " + final + " is not in " + real) == std::string::npos,
        inside);
  }
  WorkflowRig rig;
  rig.Install();
  rig.Upgrade();
  EXPECT_EQ(rig.system.sources,
            (std::vector<DllSources>{DllSources::SystemFirst, DllSources::SystemFirst}));
}

// made after the system package), an Info.xml over 64 KiB. Nothing stale is ever handed over.
TEST(Upgrade, StopsAtTheFirstFailedStepButCopesWithoutTheSystemPackage) {
  using enum StartOutcome;
  const std::string temp = kFolder + "\\OrvaneTarvikTemp",
                    systemPackage = temp + "\\Orvane_sys.rar";
  const std::tuple<std::string, StartOutcome, std::size_t, const char*> cases[] = {
      {"404 0", Started, 1, kFileErr}, {"404 1", Started, 3, ""},
      {"404 2", Started, 3, kFileErr}, {"", Failed, 3, kStartFailedMessage},
      {"", Declined, 3, ""},           {"file", Started, 1, kDiskErr},
      {"link", Started, 1, kDiskErr},  {"link after B", Started, 2, kDiskErr},
      {"64 KiB", Started, 3, ""},      {"64 KiB + 1", Started, 0, kNoCustomer},
      {"B cut", Started, 7, ""}};
  for (const auto& [way, outcome, asked, message] : cases) {
    SCOPED_TRACE(way + " " + std::to_string(static_cast<int>(outcome)));
    WorkflowRig rig;
    rig.files.files[systemPackage] = "from an earlier run";
    rig.system.startOutcome = outcome;
    if (way == "file") rig.files.files[temp] = "";
    if (way == "link") rig.files.folders = rig.files.links = {temp};
    if (way.starts_with("64")) rig.files.files[kInfo] = std::string(65536 + (way.size() > 6), ' ');
    if (way == "B cut") {  // part of the package, then nothing: kept for a click to come
      rig.internet.etag = "\"v\"";
      rig.internet.cuts = {UINT64_MAX, 100};
      rig.internet.faults = {"200", "200", "", "", "", ""};
    }
    if (way.starts_with("404")) rig.internet.faults.assign(way[4] - '0' + 1, "200");
    if (way.starts_with("404")) rig.internet.faults.back() = "404";
    rig.system.onPass = [&rig, &way = way, &temp] {
      if (way == "link after B" && rig.internet.urls.size() == 2) rig.files.links = {temp};
    };

    rig.Upgrade();

    const bool started = asked >= 3 && (!*message || outcome == Failed);
    const bool handedOver = started && outcome == Started;
    EXPECT_EQ(rig.internet.urls.size(), asked);
    EXPECT_EQ(rig.system.messages, *message ? Lines{message} : Lines{});
    EXPECT_EQ(rig.system.started.size(), started ? 1u : 0u);
    EXPECT_EQ(rig.system.unloaded, handedOver);
    EXPECT_EQ(rig.files.FileExists(systemPackage), way != "404 1" && way != "B cut")
        << "nothing stale is handed over";
    EXPECT_FALSE(rig.files.FileExists(PartialFileName(systemPackage)));
    EXPECT_TRUE(handedOver || !(rig.frm.Downloading || rig.frm["txtFolder"].Locked()));
  }
}

// Stop first starts this very program again, by the path the system has for its own file held
// since the start; without that file held, it says so and starts nothing else. Neither Stop nor
// Exit leaves a partial file.
TEST(Workflows, StopRestartsTheHeldProgramOnlyAndNoPartialFileStays) {
  for (const auto& [command, held, restarted] :
       {std::tuple{"cmdExit", true, ""}, std::tuple{"cmdStop", true, "D:\\Real\\OrvaneSetup.exe"},
        std::tuple{"cmdStop", false, ""}}) {
    SCOPED_TRACE(::testing::Message() << command << " " << held);
    WorkflowRig rig;
    rig.files.finalPaths["C:\\Tools"] = "D:\\Real";
    if (held) rig.files.files[rig.system.executable] = "this program";
    Program program{rig.platform, rig.system, ""};  // holds its own file as it starts
    FrmMain& frm = program.frm;
    frm.Form_Load();
    const std::string partial = PartialFileName(kInstaller);
    std::optional<bool> partialAfter;  // set at the first pass with the partial file open
    rig.system.onPass = [&, command = command] {
      if (!rig.files.open.count(partial)) return;
      frm.Click(frm[command]);
      partialAfter = rig.files.FileExists(partial);
      rig.system.onPass = nullptr;
    };

    frm.Click(frm["cmdOrvane"]);

    EXPECT_EQ(partialAfter, false);
    EXPECT_EQ(rig.system.started, *restarted ? Lines{restarted} : Lines{});
    EXPECT_EQ(rig.system.messages.front() == kRestartFailedMessage, !held);
    EXPECT_TRUE(rig.system.ended);
  }
}

// A refused folder brings the message with the stop icon and empties the box, with no second word.
// A network folder (two leading slashes of either kind) is looked at only when OK is clicked.
TEST(Folder, TheBoxKeepsOnlyAFolderHoldingBothMarkerFiles) {
  const std::pair<std::string, bool> folders[] = {{kFolder, false},
                                                  {"\\Orvane", false},
                                                  {"\\\\server\\Orvane", true},
                                                  {"//server/Orvane", true}};
  for (const auto& [folder, network] : folders) {
    const std::string dll = folder + "\\Orvane.dll", info = folder + "\\Report\\Info.xml";
    for (const auto& markers : {Lines{dll, info}, Lines{dll}, Lines{info}, Lines{}}) {
      SCOPED_TRACE(folder + " " + std::to_string(markers.size()));
      WorkflowRig rig;
      rig.files.files.clear();
      rig.files.folders = {dll, info};  // folders of these names never count
      for (const std::string& marker : markers) rig.files.files[marker] = "";
      rig.system.customers[info] = "ACME-01";
      const bool kept = markers.size() == 2;
      rig.frm.Click(rig.frm["cmdUpd"]);
      rig.frm.TextTyped(rig.frm["txtFolder"], folder);
      if (network) rig.frm.Click(rig.frm["cmdOK"]);
      EXPECT_EQ(rig.frm["txtFolder"].Caption(), kept ? folder : "");
      rig.frm.TextTyped(rig.frm["txtFolder"], "");
      EXPECT_EQ(rig.system.messages, kept ? Lines{} : Lines{kWrongFolder});
      EXPECT_EQ(rig.system.icons, kept ? std::vector<int>{} : std::vector<int>{16});
      EXPECT_EQ(rig.internet.urls.size(), network && kept ? 3u : 0u);
    }
  }
}

// The folder button, a double-click on the box and an upgrade without a folder open the dialog. The
// box takes the path, else the display name, to the first NUL; "" if cancelled or with no desktop.
TEST(Folder, TheDialogsAnswerGoesIntoTheBox) {
  const ItemIdList desktop = reinterpret_cast<ItemIdList>(0xD),
                   chosen = reinterpret_cast<ItemIdList>(0xC);
  const std::string withRest = kFolder + '\0' + "rest" + '\0', other = "E:\\Orvane";
  const std::tuple<ItemIdList, ItemIdList, std::optional<std::string>, std::string, std::string>
      answers[] = {{desktop, chosen, withRest, "Orvane", kFolder},
                   {desktop, chosen, std::nullopt, withRest, kFolder},
                   {desktop, chosen, kFolder + "\\Report", "", ""},
                   {desktop, nullptr, kFolder, kFolder, ""},
                   {nullptr, chosen, kFolder, kFolder, ""}};
  for (const std::string way : {"cmdBr", "txtFolder", "cmdOK"}) {
    for (const auto& [start, choice, path, name, box] : answers) {
      SCOPED_TRACE(::testing::Message() << way << " " << path.value_or(name));
      WorkflowRig rig;
      rig.files.files[other + "\\Orvane.dll"] = rig.files.files[other + "\\Report\\Info.xml"] = "";
      rig.frm.Click(rig.frm["cmdUpd"]);
      const bool upgrade = way == "cmdOK";
      if (!upgrade) rig.frm.TextTyped(rig.frm["txtFolder"], other);
      std::tie(rig.system.desktop, rig.system.choice, rig.system.choicePath,
               rig.system.choiceName) = std::tie(start, choice, path, name);

      way == "txtFolder" ? rig.frm.DblClick(rig.frm[way]) : rig.frm.Click(rig.frm[way]);

      EXPECT_EQ(rig.frm["txtFolder"].Caption(), box);
      Lines messages = upgrade ? Lines{kNoFolder} : Lines{};
      if (path == kFolder + "\\Report") messages.push_back(kWrongFolder);
      EXPECT_EQ(rig.system.messages, messages);
      EXPECT_EQ(rig.system.focused, upgrade ? "txtFolder" : "");
      EXPECT_EQ(rig.system.dialog,
                start ? "from 0 owner 0 at desktop \"Select a folder:\" flags 1 owner 0"
                      : "from 0 owner 0");
      EXPECT_TRUE(rig.system.held.empty()) << "an item list is never freed";
    }
  }
}

}  // namespace
}  // namespace orvane::testing
