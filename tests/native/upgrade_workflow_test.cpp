// The upgrade and the installation-folder choice on the recording fakes: the
// folder check, the dialog, the customer's name, the three downloads in
// order, what a failed step shows, and the hand-over to the updater.
#include <gtest/gtest.h>

#include <algorithm>

#include "frm_main_harness.h"
#include "workflows/customer_name.h"

namespace orvane::testing {
namespace {

const std::string kFolder = "D:\\Ph\xE1\xBA\xA7n m\xE1\xBB\x81m\\Orvane";
const std::string kInfo = kFolder + "\\Report\\Info.xml";
const char* const kWrongFolder =
    "Thu muc chua dung.\r\nXin vui long cho biet thu muc da cai dat Orvane.";
const char* const kNoCustomer =
    "Khong doc duoc ma khach hang cua ban trong thu muc da cai dat Orvane.\r\n"
    "Xin vui long lien he nha cung cap.";

class Upgrade : public ::testing::Test {
 protected:
  void SetUp() override {
    h.frm.Form_Load();
    h.frm.Layout_Setting("Upgrade");
    h.files.Put(kFolder + "\\Orvane.dll", "dll");
    h.files.Put(kInfo, "<Info/>");
    h.xml.customers[kInfo] = "  ACME-01\r\n";
    h.internet.response.contentLength = "100";
    h.internet.response.chunks = {std::string(100, 'x')};
    TypeFolder(kFolder);
  }

  // What the host does when the user types or pastes into the box.
  void TypeFolder(const std::string& text) { h.frm.TextTyped(h.frm["txtFolder"], text); }

  std::vector<std::string> Addresses() const {
    std::vector<std::string> urls;
    for (const std::string& call : h.internet.calls) {
      if (call.rfind("InternetOpenUrlA(", 0) == 0)
        urls.push_back(call.substr(call.find(", ") + 2,
                                   call.find(", ", call.find(", ") + 2) - call.find(", ") - 2));
    }
    return urls;
  }

  FrmMainHarness h;
};

TEST_F(Upgrade, FetchesUpdaterAndPackagesThenHandsOverAndEnds) {
  h.files.Put(kFolder + "\\Tarvik.exe", "an older updater");
  h.files.Put(kFolder + "\\OrvaneTarvikTemp\\Orvane.rar", std::string(5000, 'o'));

  h.frm.Click(h.frm["cmdOK"]);

  EXPECT_EQ(Addresses(),
            (std::vector<std::string>{"https://localhost:8471/Tarvik/Tarvik.exe",
                                      "https://localhost:8471/Tarvik/Orvane_sys.rar",
                                      "https://localhost:8471/Tarvik/ACME-01/Orvane.rar"}));
  EXPECT_EQ(h.files.files.at(kFolder + "\\Tarvik.exe").bytes, std::string(100, 'x'));
  EXPECT_EQ(h.files.files.at(kFolder + "\\OrvaneTarvikTemp\\Orvane_sys.rar").bytes,
            std::string(100, 'x'));
  EXPECT_EQ(h.files.files.at(kFolder + "\\OrvaneTarvikTemp\\Orvane.rar").bytes,
            std::string(100, 'x'))
      << "an older, longer package is replaced exactly";
  EXPECT_EQ(h.files.operations.front(), "RemoveFile " + kFolder + "\\Tarvik.exe");
  EXPECT_NE(std::find(h.files.operations.begin(), h.files.operations.end(),
                      "CreateFolder " + kFolder + "\\OrvaneTarvikTemp"),
            h.files.operations.end());
  EXPECT_EQ(h.processes.started, std::vector<std::string>{kFolder + "\\Tarvik.exe"});
  EXPECT_TRUE(h.window.unloaded);
  EXPECT_EQ(h.processes.endProcessCalls, 1);
  EXPECT_TRUE(h.ui.messages.empty());
}

TEST_F(Upgrade, AFailedStepShowsItsMessageExceptTheSystemPackage) {
  struct Case {
    std::size_t failingDownload;  // 0 updater, 1 system package, 2 upgrade package
    std::size_t downloads;
    bool started;
  };
  for (const Case& c : {Case{0, 1, false}, Case{1, 3, true}, Case{2, 3, false}}) {
    SCOPED_TRACE(c.failingDownload);
    FrmMainHarness run;
    run.frm.Form_Load();
    run.frm.Layout_Setting("Upgrade");
    run.files.Put(kFolder + "\\Orvane.dll", "dll");
    run.files.Put(kInfo, "<Info/>");
    run.xml.customers[kInfo] = "ACME";
    run.frm.TextTyped(run.frm["txtFolder"], kFolder);
    std::size_t opened = 0;
    run.ui.onDoEvents = [&] {
      // Each download starts with one pass; the failing one gets a 404.
      run.internet.response.status = opened++ == c.failingDownload ? "404" : "200";
    };

    run.frm.cmdOK_Click();

    const auto urls =
        std::count_if(run.internet.calls.begin(), run.internet.calls.end(),
                      [](auto& call) { return call.rfind("InternetOpenUrlA", 0) == 0; });
    EXPECT_EQ(static_cast<std::size_t>(urls), c.downloads);
    EXPECT_EQ(run.ui.messages.size(), c.started ? 0u : 1u);
    EXPECT_EQ(!run.processes.started.empty(), c.started);
    EXPECT_EQ(run.window.unloaded, c.started);
    if (!c.started) {
      EXPECT_EQ(run.frm.Downloading, kVbFalse);
      EXPECT_TRUE(run.frm["bg2"].Visible()) << "the upgrade panel stays for another try";
    }
  }
}

TEST_F(Upgrade, WithoutASafeCustomerNameNothingIsDeletedOrFetched) {
  for (const std::optional<std::string>& customer :
       {std::optional<std::string>("../x"), std::optional<std::string>(" \n "),
        std::optional<std::string>(), std::optional<std::string>("a/b"),
        std::optional<std::string>(std::string(65, 'a'))}) {
    h.xml.customers[kInfo] = customer;
    h.ui.messages.clear();
    h.files.operations.clear();
    h.files.Put(kFolder + "\\Tarvik.exe", "kept");

    h.frm.cmdOK_Click();

    ASSERT_EQ(h.ui.messages.size(), 1u);
    EXPECT_EQ(h.ui.messages[0].text, kNoCustomer);
    EXPECT_EQ(h.ui.messages[0].style, kMsgBoxInformation);
    EXPECT_TRUE(h.internet.calls.empty());
    EXPECT_TRUE(h.files.operations.empty());
    EXPECT_EQ(h.frm.Downloading, kVbFalse);
  }
}

TEST(CustomerName, AcceptsOneSafePathSegmentOnly) {
  const std::string longest(64, 'z');
  for (const std::string& name :
       {std::string("A"), std::string("acme_01.eu-west"), std::string("..a"), longest})
    EXPECT_TRUE(IsSafeCustomerName(name)) << name;
  for (const char* name : {"", ".", "..", "a b", "a\\b", "a/b", "%2e", "caf\xC3\xA9"})
    EXPECT_FALSE(IsSafeCustomerName(name)) << name;
}

TEST_F(Upgrade, AnEmptyBoxAsksForTheFolderAndOpensTheDialogButFetchesNothing) {
  TypeFolder("");
  h.shell.choices = {kFolder};

  h.frm.cmdOK_Click();

  ASSERT_EQ(h.ui.messages.size(), 1u);
  EXPECT_EQ(h.ui.messages[0].text, "Xin vui long cho biet thu muc da cai dat Orvane.");
  EXPECT_EQ(h.window.focused, &h.frm["txtFolder"]);
  ASSERT_EQ(h.shell.dialogs.size(), 1u);
  EXPECT_EQ(h.shell.dialogs[0].title, "Select a folder:");
  EXPECT_EQ(h.shell.dialogs[0].flags, kBifReturnOnlyFsDirs);
  EXPECT_EQ(h.shell.dialogs[0].owner, 0);
  EXPECT_EQ(h.shell.rootFolder, kCsidlDesktop);
  EXPECT_EQ(h.frm["txtFolder"].Caption(), kFolder) << "the choice lands in the box";
  EXPECT_TRUE(h.internet.calls.empty()) << "the upgrade starts only on a further click";
  EXPECT_EQ(h.shell.freed, 2) << "root and choice are both freed";
}

TEST_F(Upgrade, ClicksDuringADownloadDoNothing) {
  int passes = 0;
  h.ui.onDoEvents = [&] {
    if (passes++ == 0) {
      h.frm.Click(h.frm["cmdOK"]);
      h.frm.Click(h.frm["cmdBr"]);
    }
  };
  h.frm.cmdOK_Click();
  EXPECT_TRUE(h.shell.dialogs.empty());
  EXPECT_EQ(h.processes.started.size(), 1u);
}

TEST_F(Upgrade, TheFolderCheckRefusesAFolderWithoutBothMarkers) {
  const std::string half = "D:\\Half";
  for (const char* marker : {"\\Orvane.dll", "\\Report\\Info.xml"}) {
    h.files.files.clear();
    h.files.Put(half + marker, "");
    h.ui.messages.clear();
    TypeFolder(half);
    ASSERT_EQ(h.ui.messages.size(), 1u) << marker;
    EXPECT_EQ(h.ui.messages[0].text, kWrongFolder);
    EXPECT_EQ(h.ui.messages[0].style, kMsgBoxCritical);
    EXPECT_EQ(h.frm["txtFolder"].Caption(), "");
  }
  h.ui.messages.clear();
  TypeFolder("");
  EXPECT_TRUE(h.ui.messages.empty()) << "an emptied box is not checked";
}

TEST_F(Upgrade, TheDialogFillsTheBoxOrEmptiesItOnCancel) {
  h.shell.choices = {std::nullopt, std::string("::{20D04FE0}")};
  h.frm.DblClick(h.frm["txtFolder"]);
  EXPECT_EQ(h.frm["txtFolder"].Caption(), "") << "cancel empties the box";

  // A choice without a file-system path gives its display name, which the
  // folder check then refuses.
  h.shell.choiceHasPath = false;
  h.frm.Click(h.frm["cmdBr"]);
  ASSERT_EQ(h.ui.messages.size(), 1u);
  EXPECT_EQ(h.ui.messages[0].text, kWrongFolder);
  EXPECT_EQ(h.frm["txtFolder"].Caption(), "");
}

}  // namespace
}  // namespace orvane::testing
