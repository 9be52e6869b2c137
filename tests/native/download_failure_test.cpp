// DownloadFile when something fails: the status it answers, and what it
// leaves on screen and on disk. The fixture checks on every path that each
// internet handle and the file were closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "download_fixture.h"

namespace orvane::testing {
namespace {

// A target from an earlier run, to show what a failure leaves behind.
class FailedDownloadTest : public DownloadTest {
 protected:
  FailedDownloadTest() { files.Put(kTarget, "the old Tarvik, longer than any new body"); }

  void ExpectOldTargetAlone() {
    EXPECT_EQ(files.Contents(kTarget), "the old Tarvik, longer than any new body");
    EXPECT_EQ(Files(), (Lines{kTarget}));
  }
};

TEST_F(FailedDownloadTest, AnEmptyInputTouchesNothing) {
  const std::string serverBase = download.ServerBase;
  for (const auto& [base, path, local] :
       {std::tuple{"", "/Tarvik/Tarvik.exe", kTarget}, std::tuple{serverBase.c_str(), "", kTarget},
        std::tuple{serverBase.c_str(), "/Tarvik/Tarvik.exe", ""}}) {
    download.ServerBase = base;
    EXPECT_EQ(download.DownloadFile(path, local, caption, bar, ":"), "FileErr");
  }
  EXPECT_EQ(internet.calls, Lines{});
  EXPECT_EQ(files.operations, Lines{});
  EXPECT_EQ(window.screen, Lines{});
}

TEST_F(FailedDownloadTest, NoSessionOrNoAddressLeavesTheScreenAsItWas) {
  internet.response.sessionOpens = false;
  EXPECT_EQ(Download(), "NetErr");
  EXPECT_EQ(internet.calls.size(), 2u) << "nothing after the failed session";

  internet = ScriptedInternet();
  internet.response.addressOpens = false;
  EXPECT_EQ(Download(), "NetErr");
  EXPECT_EQ(internet.calls.back(), "InternetCloseHandle(session)");

  EXPECT_EQ(window.screen, Lines{});
  EXPECT_EQ(files.operations, Lines{});
  ExpectOldTargetAlone();
}

// An error page is never saved: nothing is read, written or shown.
TEST_F(FailedDownloadTest, AStatusOutsideTwoHundredsFailsBeforeAnythingIsWritten) {
  const struct {
    std::optional<std::string> status;
    const char* result;
  } cases[] = {{"404", "FileErr"}, {"410", "FileErr"}, {"500", "NetErr"},
               {"199", "NetErr"},  {"300", "NetErr"},  {std::nullopt, "NetErr"}};
  for (const auto& c : cases) {
    internet = ScriptedInternet();
    internet.response.status = c.status;
    Serve({"<html>Not here</html>"});
    EXPECT_EQ(Download(), c.result) << c.status.value_or("no status");
    EXPECT_EQ(internet.reads, 0u);
  }
  EXPECT_EQ(files.operations, Lines{});
  EXPECT_EQ(window.screen, Lines{});
  ExpectOldTargetAlone();
}

TEST_F(DownloadTest, AnyStatusInTheTwoHundredsIsSuccess) {
  for (const char* status : {"200", "204", "299"}) {
    internet = ScriptedInternet();
    internet.response.status = status;
    Serve({"new"});
    EXPECT_EQ(Download(), "") << status;
  }
}

// The file must match the announced length to the byte, whether or not the
// rounded kilobytes agree and whether or not progress was shown.
TEST_F(FailedDownloadTest, ABodyOfAnyOtherLengthThanAnnouncedFails) {
  const struct {
    std::uint64_t announced, delivered;
  } cases[] = {{10000, 9999}, {1000000, 999937}, {512, 300}, {10000, 10001}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.delivered);
    internet = ScriptedInternet();
    internet.response.contentLength = std::to_string(c.announced);
    internet.response.chunks = {Bytes(c.delivered)};

    EXPECT_EQ(Download(), "NetErr");

    EXPECT_FALSE(caption.Caption().starts_with("Finished")) << caption.Caption();
    ExpectOldTargetAlone();
  }
}

TEST_F(FailedDownloadTest, AFailedReadIsAFailureNotTheEnd) {
  internet.response.chunks = {Bytes(4096), Bytes(4096)};  // no length to check against
  internet.response.failingRead = 1;

  EXPECT_EQ(Download(), "NetErr");

  ExpectOldTargetAlone();
}

// 1 kilobyte announced, so each 4096-byte block adds 400%: block 82 would
// show 32,800%, beyond 16 bits, and the transfer stops there.
TEST_F(FailedDownloadTest, APercentageBeyondSixteenBitsStopsTheTransfer) {
  internet.response.contentLength = "1024";
  internet.response.chunks = {Bytes(100 * 4096)};

  EXPECT_EQ(Download(), "NetErr");

  EXPECT_EQ(internet.reads, 82u);
  EXPECT_EQ(caption.Caption(), "Downloading ... 32400%: 324Kb / 1Kb");
  ExpectOldTargetAlone();
}

TEST_F(FailedDownloadTest, AFileSystemFailureLeavesTheOldTarget) {
  const std::pair<const char*, std::function<void(MemoryFileSystem&)>> faults[] = {
      {"open", [](MemoryFileSystem& fs) { fs.unopenable.insert(kPartial); }},
      {"write", [](MemoryFileSystem& fs) { fs.writeFailsBeyond = 5000; }},
      {"close", [](MemoryFileSystem& fs) { fs.closeFails = true; }},
      {"move", [](MemoryFileSystem& fs) { fs.moveFails = true; }},
  };
  for (const auto& [name, fail] : faults) {
    SCOPED_TRACE(name);
    internet = ScriptedInternet();
    files = MemoryFileSystem();
    files.Put(kTarget, "the old Tarvik, longer than any new body");
    fail(files);
    Serve({Bytes(4096), Bytes(4096)});

    EXPECT_EQ(Download(), "NetErr");

    EXPECT_FALSE(caption.Caption().starts_with("Finished")) << caption.Caption();
    ExpectOldTargetAlone();
  }
}

TEST_F(FailedDownloadTest, SuccessReplacesTheTargetAndALeftoverPartialIsOverwritten) {
  files.Put(kPartial, "a partial body from a run that was stopped, longer than the new one");
  Serve({"new Tarvik"});

  EXPECT_EQ(Download(), "");

  EXPECT_EQ(files.Contents(kTarget), "new Tarvik");
  EXPECT_EQ(Files(), (Lines{kTarget}));
  const std::string move = std::string("MoveReplacing ") + kPartial + " -> " + kTarget;
  EXPECT_NE(std::find(files.operations.begin(), files.operations.end(), move),
            files.operations.end());
}

}  // namespace
}  // namespace orvane::testing
