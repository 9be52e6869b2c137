// The install workflow and the window's own commands, on the recording fakes:
// what runs in which order, what the user sees after a failure, and that
// clicks arriving inside the download's message loop can't start a second one.
#include <gtest/gtest.h>

#include <algorithm>

#include "frm_main_harness.h"

namespace orvane::testing {
namespace {

const char* const kTarget = "C:\\Tools\\install.exe";
const char* const kNetErr = "Download khong thanh cong.\r\nXin vui long kiem tra ket noi Internet.";
const char* const kFileErr =
    "Khong tim thay du lieu tren may chu. Xin vui long lien he nha cung cap.";

class InstallWorkflow : public ::testing::Test {
 protected:
  void SetUp() override {
    h.frm.Form_Load();
    h.internet.response.contentLength = "5000";
    h.internet.response.chunks = {std::string(5000, 'i')};
  }

  bool Called(const std::string& prefix) const {
    return std::any_of(h.internet.calls.begin(), h.internet.calls.end(),
                       [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
  }

  FrmMainHarness h;
};

TEST_F(InstallWorkflow, ReplacesTheOldInstallerStartsItAndReturnsHome) {
  h.files.Put(kTarget, "an older installer");
  bool downloadingDuringTransfer = false;
  bool stopShownDuringTransfer = false;
  int passesBeforeTransfer = -1;
  h.ui.onDoEvents = [&] {
    if (passesBeforeTransfer < 0) passesBeforeTransfer = h.internet.reads == 0 ? 1 : 0;
    if (h.internet.reads > 0) {
      downloadingDuringTransfer = h.frm.Downloading == kVbTrue;
      stopShownDuringTransfer = h.frm["cmdStop"].Visible();
    }
  };
  h.frm["txtIP"].SetCaption("10.0.0.1");
  h.frm["txtPort"].SetCaption("3128");

  h.frm.cmdOrvane_Click();

  // The old file went first, then one pass of the message loop, then the download.
  EXPECT_EQ(h.files.operations.front(), std::string("RemoveFile ") + kTarget);
  EXPECT_EQ(passesBeforeTransfer, 1);
  EXPECT_TRUE(Called("InternetOpenA(API-Download, 3, 10.0.0.1:3128, <local>"));
  EXPECT_TRUE(Called("InternetOpenUrlA(session, https://localhost:8471/install/install.exe"));
  EXPECT_TRUE(downloadingDuringTransfer);
  EXPECT_TRUE(stopShownDuringTransfer);
  EXPECT_EQ(h.files.files.at(kTarget).bytes, std::string(5000, 'i'));
  EXPECT_EQ(h.processes.started, std::vector<std::string>{kTarget});
  EXPECT_TRUE(h.ui.messages.empty());
  EXPECT_EQ(h.frm.Downloading, kVbFalse);
  EXPECT_TRUE(h.frm["bg"].Visible());
  EXPECT_FALSE(h.frm["cmdStop"].Visible());
  EXPECT_FALSE(h.window.unloaded);
}

TEST_F(InstallWorkflow, FailedDownloadsShowTheirMessageAndStartNothing) {
  struct Case {
    const char* status;
    bool addressOpens;
    const char* message;
  };
  for (const Case& c :
       {Case{"404", true, kFileErr}, Case{"500", true, kNetErr}, Case{"200", false, kNetErr}}) {
    SCOPED_TRACE(c.status);
    h.files.Put(kTarget, "old");
    h.ui.messages.clear();
    h.internet.response.status = c.status;
    h.internet.response.addressOpens = c.addressOpens;

    h.frm.cmdOrvane_Click();

    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text, c.message);
    EXPECT_EQ(h.ui.messages[0].title, "THONG BAO");
    EXPECT_EQ(h.ui.messages[0].style, kMsgBoxInformation);
    EXPECT_TRUE(h.processes.started.empty());
    EXPECT_EQ(h.files.files.count(kTarget), 0u) << "the old installer is deleted all the same";
    EXPECT_EQ(h.frm.Downloading, kVbFalse);
    EXPECT_TRUE(h.frm["bg"].Visible());
  }
}

TEST_F(InstallWorkflow, OnlyTheTwoKnownStatusesHaveAMessage) {
  h.frm.fnMsgBox4Download("");
  h.frm.fnMsgBox4Download("neterr");
  h.frm.fnMsgBox4Download("Timeout");
  EXPECT_TRUE(h.ui.messages.empty());
}

TEST_F(InstallWorkflow, EmptyProxyBoxesLeaveTheSystemSettings) {
  h.frm.cmdOrvane_Click();
  EXPECT_TRUE(Called("InternetOpenA(API-Download, 0, null, null, 0)"));
}

TEST_F(InstallWorkflow, ClicksInsideTheDownloadCannotStartOrSwitchAnything) {
  h.internet.response.contentLength = "20000";
  h.internet.response.chunks = {std::string(20000, 'i')};
  int passes = 0;
  h.ui.onDoEvents = [&] {
    // The pass before the transfer (a queued double-click) and one inside it.
    if (++passes > 2) return;
    for (const char* name : {"cmdOrvane", "cmdUpd", "cmdHelp", "cmdProxy", "cmdOK", "cmdBr"})
      h.frm.Click(h.frm[name]);
  };

  h.frm.cmdOrvane_Click();

  EXPECT_EQ(passes, 6) << "one pass before and one per block of the 20,000 bytes";
  EXPECT_EQ(
      std::count_if(h.internet.calls.begin(), h.internet.calls.end(),
                    [](const std::string& call) { return call.rfind("InternetOpenA", 0) == 0; }),
      1);
  EXPECT_EQ(h.processes.started.size(), 1u);
  EXPECT_TRUE(h.frm["bg"].Visible()) << "home again after the one install";
}

TEST(WindowCommands, StopStartsTheSameProgramAgainThenUnloadsAndEnds) {
  for (const auto& [running, restarted] :
       {std::pair{"C:\\Tools\\OrvaneSetup.exe", "C:\\Tools\\OrvaneSetup.exe"},
        std::pair{"C:\\Cong cu\\OrvaneSetup.EXE", "C:\\Cong cu\\OrvaneSetup.exe"},
        std::pair{"C:\\Tools\\Orvane.Setup.exe", "C:\\Tools\\Orvane.Setup.exe"}}) {
    FrmMainHarness h;
    h.processes.executablePath = running;
    h.frm.Form_Load();
    h.frm.Layout_Setting("InsTrue");
    h.frm.Click(h.frm["cmdStop"]);
    EXPECT_EQ(h.processes.started, std::vector<std::string>{restarted});
    EXPECT_TRUE(h.window.unloaded);
    EXPECT_EQ(h.processes.endProcessCalls, 1);
  }
}

TEST(WindowCommands, ExitUnloadsAndEndsEvenDuringADownload) {
  FrmMainHarness h;
  h.frm.Form_Load();
  h.frm.Downloading = kVbTrue;
  h.frm.Click(h.frm["cmdExit"]);
  EXPECT_TRUE(h.window.unloaded);
  EXPECT_EQ(h.processes.endProcessCalls, 1);
  EXPECT_TRUE(h.processes.started.empty());
  EXPECT_TRUE(h.ui.messages.empty());
}

}  // namespace
}  // namespace orvane::testing
