// DownloadFile on the fakes: the status it answers, and that the target is
// replaced only by a complete body, whatever fails. Then its text and numbers
// on their own, with the odd cases no transfer reaches.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "download/download_progress.h"
#include "download/download_text.h"
#include "fakes.h"

namespace orvane::testing {
namespace {

using Files = std::map<std::string, std::string>;
const std::string kTarget = "C:\\Orvane\\Tarvik.exe";
constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
const std::string kOld = "the old Tarvik, longer than any new body";

// A target from an earlier run, and 10,000 bytes on the server.
struct DownloadRig : Rig {
  DownloadRig() {
    download.ServerBase = "https://orvane.example";
    files.files[kTarget] = kOld;
    internet.Serve(std::string(10000, 'n'));
  }

  // Each call closes every handle and file it opened, whatever the outcome.
  std::string Run(const std::string& path = "/Tarvik/Tarvik.exe",
                  const std::string& target = kTarget) {
    const std::string status = download.DownloadFile(path, target, Caption(), Bar(), ":");
    EXPECT_TRUE(internet.open.empty()) << "an internet handle was left open";
    EXPECT_EQ(internet.badCloses, 0);
    EXPECT_TRUE(files.open.empty()) << "a file was left open";
    return status;
  }
  Control& Caption() { return frm["ProgressCap"]; }
  Control& Bar() { return frm["ProgressBar"]; }
};

TEST(Download, AnEmptyInputIsFileErrAndTouchesNothing) {
  DownloadRig rig;
  EXPECT_EQ(rig.Run("", kTarget), "FileErr");
  EXPECT_EQ(rig.Run("/Tarvik/Tarvik.exe", ""), "FileErr");
  rig.download.ServerBase = "";
  EXPECT_EQ(rig.Run(), "FileErr");
  EXPECT_TRUE(rig.internet.sessions.empty());
  EXPECT_EQ(rig.files.files, (Files{{kTarget, kOld}}));
}

// An error page is never saved; 404 and 410 say the file is not on the server.
TEST(Download, TheStatusDecidesBeforeAnythingIsRead) {
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {"200", ""},        {"204", ""},        {"299", ""},
      {"404", "FileErr"}, {"410", "FileErr"}, {"500", "NetErr"},
      {"199", "NetErr"},  {"300", "NetErr"},  {std::nullopt, "NetErr"}};
  for (const auto& [status, result] : cases) {
    SCOPED_TRACE(status.value_or("no status"));
    DownloadRig rig;
    rig.internet.status = status;
    EXPECT_EQ(rig.Run(), result);
    EXPECT_EQ(rig.internet.reads > 0, result.empty());
    EXPECT_EQ(rig.files.files, (Files{{kTarget, result.empty() ? rig.internet.body : kOld}}));
  }
}

// A network fault is NetErr, a local file that can't be created, written or
// put in place is DiskErr; either way the old target stays as it was, with
// no partial body beside it.
TEST(Download, AnyOtherFailureLeavesTheOldTargetAloneAndNamesItsSide) {
  const std::tuple<const char*, const char*, std::function<void(DownloadRig&)>> faults[] = {
      {"no session", "NetErr", [](DownloadRig& r) { r.internet.sessionOpens = false; }},
      {"no address", "NetErr", [](DownloadRig& r) { r.internet.addressOpens = false; }},
      // One byte off the announced length, the same in rounded kilobytes.
      {"short body", "NetErr", [](DownloadRig& r) { r.internet.length = "10001"; }},
      {"long body", "NetErr", [](DownloadRig& r) { r.internet.length = "9999"; }},
      // No length to check against: the failed read alone must fail it.
      {"failed read", "NetErr",
       [](DownloadRig& r) {
         r.internet.length.reset();
         r.internet.failingRead = 1;
       }},
      {"file won't open", "DiskErr", [](DownloadRig& r) { r.files.openFails = true; }},
      {"failed write", "DiskErr", [](DownloadRig& r) { r.files.writeFails = true; }},
      {"failed close", "DiskErr", [](DownloadRig& r) { r.files.closeFails = true; }},
      {"failed move", "DiskErr", [](DownloadRig& r) { r.files.moveFails = true; }},
  };
  for (const auto& [name, status, fail] : faults) {
    SCOPED_TRACE(name);
    DownloadRig rig;
    fail(rig);
    EXPECT_EQ(rig.Run(), status);
    EXPECT_EQ(rig.files.files, (Files{{kTarget, kOld}}));
    EXPECT_FALSE(rig.Caption().Caption().starts_with("Finished"));
  }
}

// Progress, and a message-loop pass per block, only when at least a
// kilobyte is announced. The bar starts again from its left end, whatever an
// earlier download of the upgrade left it at.
TEST(Download, ACompleteBodyReplacesTheTargetAndALeftoverPartial) {
  const struct {
    std::optional<std::string> length;
    std::size_t size;
    std::vector<std::string> passes;  // the caption and the bar's width at each
    const char* after;
  } cases[] = {// 4, 8 and 9.77 of 10 Kb, of the 504-pixel caption.
               {"10000",
                10000,
                {"Downloading ... 40%: 4Kb / 10Kb @202", "Downloading ... 80%: 8Kb / 10Kb @403",
                 "Downloading ... 98%: 10Kb / 10Kb @492"},
                "Finished 100%: 10Kb / 10Kb"},
               {std::nullopt, 10000, {}, "Downloading ... 0%"},
               {"512", 512, {}, "Downloading ... 0%"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    DownloadRig rig;
    rig.files.files[PartialFileName(kTarget)] = "a partial body of a stopped run, longer than this";
    rig.internet.body = std::string(c.size, 'n');
    rig.internet.length = c.length;
    rig.Bar().SetWidth(rig.Caption().Width());
    std::vector<std::string> passes;
    rig.system.onPass = [&] {
      passes.push_back(rig.Caption().Caption() + " @" + std::to_string(rig.Bar().Width()));
    };

    EXPECT_EQ(rig.Run(), "");

    EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
    EXPECT_EQ(rig.internet.purged, rig.internet.urls) << "the fetched address leaves the cache";
    EXPECT_EQ(passes, c.passes);
    EXPECT_EQ(rig.system.pacedPasses, static_cast<int>(c.passes.size()));
    EXPECT_EQ(rig.Caption().Caption(), c.after);
    EXPECT_EQ(rig.Bar().Width(), c.passes.empty() ? 1 : rig.Caption().Width());
  }
}

// Past 32 bits, as in the 32-bit program: the counts, kilobytes and captions
// stay exact and the transfer completes.
TEST(Download, ABodyBeyondFourGibibytesCompletes) {
  DownloadRig rig;
  const std::uint64_t size = (std::uint64_t{1} << 32) + 3 * 4096 + 17;
  rig.files.lengthsOnly = true;
  rig.internet.madeUp = size;
  rig.internet.length = std::to_string(size);
  std::string lastPass;
  rig.system.onPass = [&] { lastPass = rig.Caption().Caption(); };

  EXPECT_EQ(rig.Run(), "");

  EXPECT_EQ(lastPass, "Downloading ... 100%: 4,194,316Kb / 4,194,316Kb");
  EXPECT_EQ(rig.files.FileLength(kTarget), size);
  EXPECT_EQ(rig.Caption().Caption(), "Finished 100%: 4194316Kb / 4194316Kb");
  EXPECT_EQ(rig.system.pacedPasses, 1048580);
}

// While narrower than the caption the bar takes the received share of its width, halves to
// even; never wider than the caption, also when it narrows or more arrives than announced.
TEST(DownloadText, TheBarTakesTheReceivedShareOfTheCaptionsWidth) {
  // Bar, caption, received bytes, announced kilobytes, and the next width.
  const std::tuple<int, int, std::uint64_t, std::uint64_t, int> cases[] = {
      {1, 504, 0, 10, 0},        {300, 504, 1024, 10, 50}, {1, 5, 1024, 2, 2},
      {1, 7, 1024, 2, 4},        {1, 504, kMax, 10, 504},  {504, 504, 0, 10, 504},
      {600, 504, 5120, 10, 504}, {20, 504, 5120, 0, 20}};
  for (const auto& [bar, caption, received, expectedKb, width] : cases)
    EXPECT_EQ(NextBarWidth(bar, caption, received, expectedKb), width)
        << bar << " " << caption << " " << received << " " << expectedKb;
}

TEST(DownloadText, HeaderNumberIsTheLeadingDigitRunWithin64Bits) {
  EXPECT_EQ(ParseHeaderNumber(" \t1535.9"), 1535u);
  EXPECT_EQ(ParseHeaderNumber("007"), 7u);
  EXPECT_EQ(ParseHeaderNumber("18446744073709551615"), kMax);
  for (const char* none : {"", " ", "abc", "-5", "+5", "18446744073709551616"})
    EXPECT_EQ(ParseHeaderNumber(none), std::nullopt) << none;
}

TEST(DownloadText, KilobytesRoundExactHalvesToEvenAndPercentagesFit16Bits) {
  const std::pair<std::uint64_t, std::uint64_t> kilobytes[] = {
      {511, 0}, {512, 0}, {513, 1}, {1536, 2}, {2560, 2}, {3584, 4}, {kMax, kMax / 1024 + 1}};
  for (const auto& [bytes, kb] : kilobytes) EXPECT_EQ(RoundedKilobytes(bytes), kb) << bytes;
  EXPECT_EQ(Percentage(1535, 1), 150) << "not capped at 100";
  EXPECT_EQ(Percentage(328 * 1024, 1), std::nullopt);
  EXPECT_EQ(Percentage(4096, 0), std::nullopt);
}

// The proxy text is "address:port"; an empty port leaves the system settings.
TEST(DownloadText, ChooseProxy) {
  auto text = [](const ProxyChoice& c) {
    return std::to_string(c.accessType) + " " + c.name.value_or("null") + " " +
           c.bypass.value_or("null");
  };
  EXPECT_EQ(text(ChooseProxy(":")), "0 null null");
  EXPECT_EQ(text(ChooseProxy("proxy.lan:")), "0 null null");
  EXPECT_EQ(text(ChooseProxy(":8080")), "3 :8080 <local>");
  EXPECT_EQ(text(ChooseProxy("proxy.lan:8080")), "3 proxy.lan:8080 <local>");
}

// The cache entry's address has its scheme part in lower case, host and path
// as given.
TEST(DownloadText, CacheEntryAddressLowersOnlyTheScheme) {
  EXPECT_EQ(CacheEntryAddress("HTTP://Orvane.Example/Setup.EXE"),
            "http://Orvane.Example/Setup.EXE");
  EXPECT_EQ(CacheEntryAddress("HTTPS://Orvane.Example/A"), "https://Orvane.Example/A");
  EXPECT_EQ(CacheEntryAddress("http://Orvane.Example/A"), "http://Orvane.Example/A");
}

TEST(DownloadText, CaptionsGroupThousandsWithTheLocaleSeparator) {
  EXPECT_EQ(GroupThousands(999, ","), "999");
  EXPECT_EQ(GroupThousands(kMax, ". "), "18. 446. 744. 073. 709. 551. 615");
  EXPECT_EQ(ProgressCaption(37, 1234, 3335, ","), "Downloading ... 37%: 1,234Kb / 3,335Kb");
  EXPECT_EQ(ProgressCaption(0, 0, 3335, "."), "Downloading ... 0%: Kb / 3.335Kb");
  EXPECT_EQ(FinishedCaption(4194305), "Finished 100%: 4194305Kb / 4194305Kb");
}

}  // namespace
}  // namespace orvane::testing
