// DownloadFile on the fakes: the status it answers, and that the target is
// replaced only by a complete body, whatever fails. Then its text and numbers
// on their own, with the odd cases no transfer reaches.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <vector>

#include "download/attempt_log.h"
#include "download/download_progress.h"
#include "download/download_text.h"
#include "download/internet_errors.h"
#include "download/retry_rules.h"
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
      // No length to check against: the failed reads alone must fail it.
      {"failed reads", "NetErr",
       [](DownloadRig& r) {
         r.internet.length.reset();
         r.internet.cuts.assign(5, 4096);
       }},
      {"file won't open", "DiskErr", [](DownloadRig& r) { r.files.openFails = true; }},
      {"failed write", "DiskErr", [](DownloadRig& r) { r.files.writeFails = true; }},
      {"failed close", "DiskErr",
       [](DownloadRig& r) {
         r.files.closeFails = true;
         r.internet.etag = "\"v1\"";  // a body that could be continued is not kept either
       }},
      {"short on disk", "NetErr", [](DownloadRig& r) { r.files.writesShort = true; }},
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

// A line that drops twice: each new attempt asks for the rest of the same
// version only, after 1 s and then 2 s, and the progress goes on from there.
TEST(Download, ACutLineContinuesWhereItStopped) {
  DownloadRig rig;
  rig.internet.etag = "\"v1\"";
  rig.internet.cuts = {4096, 3000};
  std::vector<std::string> passes;
  rig.system.onPass = [&] { passes.push_back(rig.Caption().Caption()); };

  EXPECT_EQ(rig.Run(), "");

  EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
  EXPECT_EQ(rig.internet.asked,
            (std::vector<std::string>{"", "Range: bytes=4096-\r\nIf-Range: \"v1\"\r\n",
                                      "Range: bytes=7096-\r\nIf-Range: \"v1\"\r\n"}));
  EXPECT_NEAR(rig.system.paused, 3, 1e-9);
  EXPECT_EQ(passes, (std::vector<std::string>{"Downloading ... 40%: 4Kb / 10Kb",
                                              "Downloading ... 69%: 7Kb / 10Kb",
                                              "Downloading ... 98%: 10Kb / 10Kb"}));
  // A fresh copy, kept out of the cache; a hung connection or read fails the attempt.
  EXPECT_EQ(rig.internet.flags, (std::set<std::uint32_t>{0xA4000000}));
  EXPECT_EQ(rig.internet.options, (std::set<std::uint32_t>{230000, 630000}));
}

// Without a validator, or when the file changed meanwhile (a 200 to the
// range), nothing is appended: the file starts over and ends as one version.
TEST(Download, WhatCannotBeContinuedStartsOver) {
  for (const bool changes : {false, true}) {
    SCOPED_TRACE(changes ? "changed" : "no validator");
    DownloadRig rig;
    rig.internet.etag = changes ? "\"v1\"" : "";
    rig.internet.cuts = {4096};
    rig.system.onPause = [&] {
      if (changes) rig.internet.etag = "\"v2\"";
      if (changes) rig.internet.Serve(std::string(9000, '2'));
    };
    EXPECT_EQ(rig.Run(), "");
    EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
    EXPECT_EQ(rig.internet.asked[1].empty(), !changes);
  }
}

// Failures of the moment are asked again until four attempts in a row
// bring nothing, after waits of 1, 2 and 4 s, or as long as Retry-After
// says; any other failure is asked once.
TEST(Download, OnlyFailuresOfTheMomentAreAskedAgain) {
  const struct {
    std::vector<std::string> faults;  // "" cannot connect, or fails with the error
    std::uint32_t error;
    std::optional<std::string> retryAfter;
    const char* result;
    std::size_t requests;
    double paused;
  } cases[] = {{{"", "503", "0", "", ""}, 12029, std::nullopt, "NetErr", 4, 7},
               {{"503", "503"}, 0, "3", "", 3, 6},
               {{"404"}, 0, std::nullopt, "FileErr", 1, 0},
               {{"403"}, 0, std::nullopt, "NetErr", 1, 0},
               {{""}, 12045, std::nullopt, "NetErr", 1, 0}};  // ERROR_INTERNET_INVALID_CA
  for (const auto& c : cases) {
    SCOPED_TRACE(c.faults.front() + " " + std::to_string(c.error));
    DownloadRig rig;
    rig.internet.faults = c.faults;
    rig.internet.openError = c.error;
    rig.internet.retryAfter = c.retryAfter;
    EXPECT_EQ(rig.Run(), c.result);
    EXPECT_EQ(rig.internet.urls.size(), c.requests);
    EXPECT_NEAR(rig.system.paused, c.paused, 1e-9);
  }
}

// After NetErr the bytes received wait for the next click, which asks for
// the rest; Stop during a wait ends it at once, asks the server nothing
// more and removes what was kept.
TEST(Download, AFailedClickIsContinuedByTheNextUnlessStopped) {
  DownloadRig rig;
  rig.system.tempFolder = "C:\\T\\";
  rig.internet.etag = "\"v1\"";
  rig.internet.cuts = {4096};
  rig.internet.faults = {"200", "", "", "", ""};
  EXPECT_EQ(rig.Run(), "NetErr");
  EXPECT_EQ(rig.Run(), "");
  EXPECT_EQ(rig.internet.asked[5], "Range: bytes=4096-\r\nIf-Range: \"v1\"\r\n");
  EXPECT_EQ(rig.files.files[kTarget], rig.internet.body);

  rig.internet.faults = {"200", "", "", "", "", "200", "200", "", "", "", "", "503"};
  rig.internet.cuts.assign(7, 4096);
  EXPECT_EQ(rig.Run("/Tarvik/Tarvik.exe", "C:\\Orvane\\Update.zip"), "NetErr");
  EXPECT_EQ(rig.files.FileLength(PartialFileName("C:\\Orvane\\Update.zip")), 4096u);
  rig.system.paused = 0;
  rig.system.onPause = [&] { rig.frm.cmdStop_Click(); };
  EXPECT_EQ(rig.Run(), "NetErr");
  EXPECT_EQ(rig.internet.urls.size(), 12u);
  EXPECT_NEAR(rig.system.paused, 0.05, 1e-9);
  // Each attempt left a line for support saying what came of it.
  std::string log = rig.files.files["C:\\T\\OrvaneSetup.log"];
  rig.files.files.erase("C:\\T\\OrvaneSetup.log");
  for (const char* line :
       {"Tarvik.exe, proxy from the system's settings, status 200, error 12029 "
        "ERROR_INTERNET_CANNOT_CONNECT, 4096 of 10000 bytes from byte 0: retry in 1 s",
        "4096 of 10000 bytes from byte 4096: retry in 8 s",
        "4096 of 10000 bytes from byte 4096: NetErr",
        "status 206, 10000 of 10000 bytes from byte 4096: ok",
        "status 503, 0 of unknown bytes from byte 0: retry in 1 s",
        "Download https://orvane.example/Tarvik/Tarvik.exe: stopped"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << " in\n" << log;
    log.erase(0, log.find(line));
  }
  EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
}

// A proxy that asks for a login gets the one typed into the system's
// dialog, again for a wrong one, and keeps it for later downloads: the user
// is asked once. Cancel, or a third refused login, is ProxyErr.
TEST(Download, AProxyLoginIsAskedUpToThreeTimesAndKeptForTheRun) {
  using Login = ScriptedInternet::Login;
  const Login right{"alice", "s3cret"}, wrong{"alice", "guess"};
  const struct {
    std::vector<std::optional<Login>> typed;
    const char *refusal, *first, *second;
    int dialogs;
  } cases[] = {{{wrong, right}, "401", "", "", 2},
               {{wrong, right}, "407", "", "", 2},
               {{wrong, wrong, wrong, right}, "407", "ProxyErr", "", 4},
               {{wrong, wrong, wrong, right}, "401", "ProxyErr", "", 4},
               {{std::nullopt}, "407", "ProxyErr", "ProxyErr", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.refusal) + " " + std::to_string(c.dialogs));
    DownloadRig rig;
    rig.internet.proxyLogin = right;
    rig.internet.refusal = c.refusal;
    rig.internet.typed = c.typed;
    EXPECT_EQ(rig.Run(), c.first);
    EXPECT_EQ(rig.Run(), c.second);
    EXPECT_EQ(rig.internet.dialogs, c.dialogs);
    EXPECT_EQ(rig.files.files[kTarget], *c.second ? kOld : rig.internet.body);
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

TEST(RetryRules, TimeoutsBusyServersAndDroppedLinesOnlyAreWorthAnotherAttempt) {
  for (const std::uint64_t status : {408, 429, 500, 502, 503, 504})
    EXPECT_TRUE(IsTransientStatus(status)) << status;
  for (const std::uint64_t status : {200, 206, 400, 403, 404, 410, 416, 501, 505})
    EXPECT_FALSE(IsTransientStatus(status)) << status;
  EXPECT_TRUE(IsProxyRefusal(407, false) && IsProxyRefusal(401, true));
  EXPECT_FALSE(IsProxyRefusal(401, false) || IsProxyRefusal(200, true));
  for (const std::uint32_t error : {12002, 12007, 12029, 12030, 12031, 12152, 10054})
    EXPECT_TRUE(IsTransientInternetError(error)) << error;
  // Certificates, TLS, a bad address, a cancelled request.
  for (const std::uint32_t error : {0, 12006, 12017, 12037, 12038, 12045, 12157, 12175})
    EXPECT_FALSE(IsTransientInternetError(error)) << error;
}

TEST(AttemptLog, NamesTheTypedProxyWhatCameBackAndWhatIsUnknown) {
  EXPECT_EQ(AttemptLine({"https://h/i", "10.0.0.1:3128", {407, 200}, 12152, 0, 7, 0}, "ok"),
            "Download https://h/i, proxy 10.0.0.1:3128, status 407 200, error 12152 "
            "ERROR_HTTP_INVALID_SERVER_RESPONSE, 7 of unknown bytes from byte 0: ok");
  EXPECT_EQ(InternetErrorText(99), "99");
}

TEST(RetryRules, WaitsDoubleFromOneSecondUpToThirtyAndRetryAfterIsObeyedWithin) {
  std::vector<std::uint32_t> waits;
  for (const int retry : {1, 2, 3, 4, 5, 6, 7, 1000})
    waits.push_back(WaitSecondsBefore(retry, std::nullopt));
  EXPECT_EQ(waits, (std::vector<std::uint32_t>{1, 2, 4, 8, 16, 30, 30, 30}));
  EXPECT_EQ(WaitSecondsBefore(3, 5), 5u);
  EXPECT_EQ(WaitSecondsBefore(3, 0), 0u);
  EXPECT_EQ(WaitSecondsBefore(1, 3600), 30u);
}

// Only the range asked for, of the length first announced, continues a body.
TEST(RetryRules, ARangeContinuesOnlyFromTheByteAskedOfTheSameLength) {
  const ResumePoint asked{"\"v1\"", 1000, 400};
  EXPECT_EQ(RangeHeaders(asked), "Range: bytes=400-\r\nIf-Range: \"v1\"\r\n");
  for (const ResumePoint& none :
       {ResumePoint{"", 1000, 400}, ResumePoint{"\"v1\"", 0, 400}, ResumePoint{"\"v1\"", 1000, 0}})
    EXPECT_EQ(RangeHeaders(none), "");
  const std::tuple<std::uint64_t, ResumePoint, const char*, BodyFit> fits[] = {
      {206, asked, "bytes 400-999/1000", BodyFit::Continues},
      {206, asked, "bytes 300-999/1000", BodyFit::Mismatch},
      {206, asked, "bytes 400-1099/1100", BodyFit::Mismatch},
      {206, asked, "", BodyFit::Mismatch},
      {206, {"", 1000, 0}, "bytes 0-999/1000", BodyFit::Mismatch},
      {200, asked, "", BodyFit::Fresh},
      {204, asked, "", BodyFit::Mismatch},
      {204, {}, "", BodyFit::Fresh}};
  for (const auto& [status, point, range, fit] : fits)
    EXPECT_EQ(FitOf(status, point, ParseContentRange(range)), fit) << status << " " << range;
  for (const char* bad : {"bytes 400-999/*", "bytes */1000", "bytes 5-4/10", "bytes 0-10/10",
                          "bytes 0-9/10 ", "items 0-9/10", "bytes -9/10"})
    EXPECT_EQ(ParseContentRange(bad).has_value(), false) << bad;
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
