// DownloadFile on the fakes: what it answers, and that only a complete body replaces the
// target. Then its rules, text and numbers alone, for the odd cases no transfer reaches.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "download/attempt_log.h"
#include "download/download_text.h"
#include "download/retry_rules.h"
#include "fakes.h"

namespace orvane::testing {
namespace {

using Files = std::map<std::string, std::string>;
const std::string kTarget = "C:\\Orvane\\Tarvik.exe";
const std::string kOld = "the old Tarvik, longer than any new body";

// A target from an earlier run, and 10,000 bytes on the server.
struct DownloadRig : Rig {
  DownloadRig() {
    files.files.erase(system.executable);  // held all the same; out of the way of the file checks
    download.ServerBase = "https://orvane.example";
    files.files[kTarget] = kOld;
    internet.Serve(std::string(10000, 'n'));
  }

  // Each call closes every file it opened, whatever the outcome.
  std::string Run() {
    const DownloadResult result = download.DownloadFile(path, target, Caption(), Bar(), proxy);
    EXPECT_TRUE(files.open.empty()) << "a file was left open";
    return result == DownloadResult::Ok ? "" : std::string(ResultName(result));
  }
  Control& Caption() { return frm["ProgressCap"]; }
  Control& Bar() { return frm["ProgressBar"]; }
  std::string Shown() { return Caption().Caption() + " @" + std::to_string(Bar().Width()); }
  std::string path = "/Tarvik/Tarvik.exe", target = kTarget, proxy = ":";
};

// Failures of the moment are asked again, after waits of 1, 2 and 4 s or as Retry-After says (up
// to 30 s), until four attempts in a row bring nothing; any other answer decides at once, each
// "not now" against its neighbour that means "no". An error page is never saved; 404 and 410 say
// the file is not on the server; the server's own 401 is an error page, not the proxy's login.
TEST(Download, TheAnswerDecidesWhatIsSavedAndWhatIsAskedAgain) {
  const std::tuple<std::vector<std::optional<std::string>>, std::uint32_t,
                   std::optional<std::string>, const char*, std::size_t, double>
      cases[] = {{{"", "503", "0", "", ""}, 12029, {}, "NetErr", 4, 7},
                 {{"429", "503"}, 0, "3600", "", 3, 60},
                 {{std::nullopt, "200"}, 0, {}, "", 2, 1},
                 {{"299"}, 0, {}, "", 1, 0},
                 {{"404"}, 0, {}, "FileErr", 1, 0},
                 {{"410"}, 0, {}, "FileErr", 1, 0},
                 {{"300"}, 0, {}, "NetErr", 1, 0},
                 {{"408", "500", "200"}, 0, {}, "", 3, 3},
                 {{"502", "504", "200"}, 0, {}, "", 3, 3},
                 {{"409"}, 0, {}, "NetErr", 1, 0},
                 {{"428"}, 0, {}, "NetErr", 1, 0},
                 {{"501"}, 0, {}, "NetErr", 1, 0},
                 {{"505"}, 0, {}, "NetErr", 1, 0},
                 {{"401"}, 0, {}, "NetErr", 1, 0},
                 {{"", "", "200"}, 12030, {}, "", 3, 3},  // ERROR_INTERNET_CONNECTION_ABORTED
                 {{"", "", "200"}, 12152, {}, "", 3, 3},  // ERROR_HTTP_INVALID_SERVER_RESPONSE
                 {{"", "", "200"}, 10054, {}, "", 3, 3},  // WSAECONNRESET
                 {{""}, 12157, {}, "NetErr", 1, 0},       // ERROR_INTERNET_SECURITY_CHANNEL_ERROR
                 {{""}, 12006, {}, "NetErr", 1, 0},       // ERROR_INTERNET_UNRECOGNIZED_SCHEME
                 {{""}, 12045, {}, "NetErr", 1, 0}};      // ERROR_INTERNET_INVALID_CA
  for (const auto& [faults, error, retryAfter, result, requests, paused] : cases) {
    SCOPED_TRACE(faults.front().value_or("no status") + " " + std::to_string(error));
    DownloadRig rig;
    rig.internet.faults = faults;
    rig.internet.openError = error;
    rig.internet.retryAfter = retryAfter;
    EXPECT_EQ(rig.Run(), result);
    EXPECT_EQ(rig.internet.urls.size(), requests);
    EXPECT_NEAR(rig.system.paused, paused, 1e-9);
    EXPECT_EQ(rig.files.files, (Files{{kTarget, *result ? kOld : rig.internet.body}}));
  }
}

// Empty input is FileErr, a network fault NetErr, a local file that can't be created, written or
// put in place DiskErr; either way the old target stays as it was, with no partial body beside it.
TEST(Download, AnyOtherFailureLeavesTheOldTargetAloneAndNamesItsSide) {
  const std::tuple<const char*, std::string, std::function<void(DownloadRig&)>> faults[] = {
      {"no server", "FileErr", [](DownloadRig& r) { r.download.ServerBase = ""; }},
      {"no path", "FileErr", [](DownloadRig& r) { r.path = ""; }},
      {"no target", "FileErr", [](DownloadRig& r) { r.target = ""; }},
      // One byte off the announced length, the same in rounded kilobytes.
      {"short body", "NetErr", [](DownloadRig& r) { r.internet.length = "10001"; }},
      {"long body", "NetErr", [](DownloadRig& r) { r.internet.length = "9999"; }},
      {"failed reads, no length to check against", "NetErr",
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
    EXPECT_EQ(rig.internet.requests.empty(), status == "FileErr") << "empty input touches nothing";
  }
}

// Without at least a kilobyte announced there is no progress to show, nor a pass per block.
TEST(Download, ACompleteBodyReplacesTheTargetAndALeftoverPartial) {
  for (const auto& [length, size] :
       {std::pair<std::optional<std::string>, std::size_t>{{}, 10000}, {"512", 512}}) {
    SCOPED_TRACE(size);
    DownloadRig rig;
    rig.files.files[PartialFileName(kTarget)] = "a partial body of a stopped run, longer than this";
    rig.internet.body = std::string(size, 'n');
    rig.internet.length = length;
    rig.Bar().SetWidth(rig.Caption().Width());
    EXPECT_EQ(rig.Run(), "");
    EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
    EXPECT_EQ(rig.internet.requests.front().staleCacheEntry, rig.internet.urls.front())
        << "the fetched address leaves the cache";
    EXPECT_EQ(rig.system.pacedPasses, 0);
    EXPECT_EQ(rig.Shown(), "Downloading ... 0% @1");
  }
}

// After a drop each attempt asks for the rest of the same version only; caption and bar start at
// the left end whatever was left before and go on from there. A 200 to the range starts over. The
// wait before the next attempt is 1 s again after one that brought new bytes. While no byte comes
// the caption says what the attempt waits for, and counts a retry's wait down.
TEST(Download, ACutLineContinuesOnlyTheVersionItStarted) {
  DownloadRig rig;
  rig.Bar().SetWidth(rig.Caption().Width());
  rig.internet.etag = "\"v1\"";
  rig.internet.cuts = {4096, 3000, 4096};
  std::vector<std::string> shown;
  auto note = [&] {
    if (shown.empty() || shown.back() != rig.Shown()) shown.push_back(rig.Shown());
  };
  rig.system.onPass = note;
  rig.system.onPause = [&] {
    note();
    if (rig.internet.urls.size() < 2) return;
    rig.internet.etag = "\"v2\"";
    rig.internet.Serve(std::string(9000, '2'));
  };

  EXPECT_EQ(rig.Run(), "");

  EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
  std::vector<std::string> asked;
  for (const FetchRequest& request : rig.internet.requests)
    asked.push_back(std::to_string(request.from) + " " + request.ifRange);
  EXPECT_EQ(asked, (std::vector<std::string>{"0 ", "4096 \"v1\"", "7096 \"v1\"", "4096 \"v2\""}));
  EXPECT_EQ(rig.internet.requests[1].staleCacheEntry, "") << "purged once a call";
  EXPECT_NEAR(rig.system.paused, 1 + 1 + 2, 1e-9);
  // Of the 504-pixel caption; the last is 8.79 of 9 Kb.
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "Dang ket noi may chu... @1",
                       "Dang cho may chu tra loi... @1",
                       "Downloading ... 40%: 4Kb / 10Kb @202",
                       "Mat ket noi, thu lai sau 1 giay (lan 2)... @202",
                       "Dang ket noi may chu (lan 2)... @202",
                       "Dang cho may chu tra loi (lan 2)... @202",
                       "Downloading ... 69%: 7Kb / 10Kb @349",
                       "Mat ket noi, thu lai sau 1 giay (lan 3)... @349",
                       "Dang ket noi may chu (lan 3)... @349",
                       "Dang cho may chu tra loi (lan 3)... @349",
                       "Downloading ... 44%: 4Kb / 9Kb @224",
                       "Mat ket noi, thu lai sau 2 giay (lan 4)... @224",
                       "Mat ket noi, thu lai sau 1 giay (lan 4)... @224",
                       "Dang ket noi may chu (lan 4)... @224",
                       "Dang cho may chu tra loi (lan 4)... @224",
                       "Downloading ... 89%: 8Kb / 9Kb @448",
                       "Downloading ... 98%: 9Kb / 9Kb @492",
                   }));
  EXPECT_EQ(rig.Shown(), "Finished 100%: 9Kb / 9Kb @504");
}

// After NetErr the bytes received wait for the next click, which asks for the rest; Stop during a
// wait ends it at once, asks the server nothing more and removes what was kept.
TEST(Download, AFailedClickIsContinuedByTheNextUnlessStopped) {
  DownloadRig rig;
  rig.system.programData = "C:\\ProgramData\\";
  rig.internet.etag = "\"v1\"";
  rig.internet.cuts = {4096};
  rig.internet.faults = {"200", "", "", "", ""};
  EXPECT_EQ(rig.Run(), "NetErr");
  EXPECT_EQ(rig.Run(), "");
  EXPECT_EQ(rig.internet.requests[5].from, 4096u);
  EXPECT_EQ(rig.Run(), "");
  EXPECT_EQ(rig.internet.requests[6].from, 0u) << "what was kept is forgotten once used";

  rig.internet.faults = {"200", "", "", "", "", "200", "200", "", "", "", "", "200"};
  rig.internet.cuts.assign(12, 4096);
  rig.target = "C:\\Orvane\\Update.zip";
  EXPECT_EQ(rig.Run(), "NetErr");
  rig.target = kTarget;
  rig.system.paused = 0;
  rig.system.onPause = [&] { rig.frm.Click(rig.frm["cmdStop"]); };
  EXPECT_EQ(rig.Run(), "NetErr");
  EXPECT_EQ(rig.internet.urls.size(), 12u);
  EXPECT_NEAR(rig.system.paused, 0.05, 1e-9);
  // Each attempt left a line for support saying what came of it.
  std::string log =
      rig.files.files.extract(rig.system.programData + "Orvane\\Logs\\OrvaneSetup.log").mapped();
  for (const char* line :
       {"Tarvik.exe, proxy from the system's settings, status 200, error 12029 "
        "ERROR_INTERNET_CANNOT_CONNECT, 4096 of 10000 bytes from byte 0: retry in 1 s",
        "4096 of 10000 bytes from byte 4096: retry in 8 s",
        "4096 of 10000 bytes from byte 4096: NetErr",
        "status 206, 10000 of 10000 bytes from byte 4096: ok",
        "4096 of 10000 bytes from byte 0: retry in 1 s",
        "Download https://orvane.example/Tarvik/Tarvik.exe: stopped"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line << " in\n" << log;
    log.erase(0, log.find(line));
  }
  EXPECT_EQ(rig.files.files, (Files{{kTarget, rig.internet.body}}));
}

// Twenty seconds without a byte fail an attempt: a body that stops is continued after 1 s; a server
// that never answers is given up on after a quiet minute, waits included, so its third attempt is
// cut short. Stop while a request waits cancels it at once, and takes nothing it hands over late.
TEST(Download, SilenceFailsAnAttemptAndAQuietMinuteTheClick) {
  DownloadRig rig;
  rig.system.programData = "C:\\ProgramData\\";
  rig.internet.etag = "\"v1\"";
  rig.internet.cuts = {4096};
  rig.internet.hangs = {FetchStage::ReceivingBody};
  EXPECT_EQ(rig.Run(), "");
  EXPECT_EQ(rig.internet.requests.back().from, 4096u);

  EXPECT_EQ(rig.internet.silences, (std::vector<double>{20}));
  EXPECT_NEAR(rig.system.paused, 1, 1e-9);

  rig.internet.hangs.assign(4, FetchStage::AwaitingAnswer);
  rig.internet.requests.clear();
  rig.internet.silences.clear();
  rig.system.paused = 0;
  EXPECT_EQ(rig.Run(), "NetErr");
  EXPECT_EQ(rig.internet.silences, (std::vector<double>{20, 20, 17}));
  EXPECT_NEAR(rig.system.paused, 1 + 2, 1e-9);
  const std::string log = rig.Log();
  EXPECT_NE(log.find("nothing heard for 20 s, 0 of unknown bytes from byte 0: retry in 2 s"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("nothing heard for 17 s, 0 of unknown bytes from byte 0: NetErr"),
            std::string::npos);

  rig.internet.hangs = {FetchStage::Connecting};
  rig.internet.requests.clear();
  int passes = 0;
  rig.system.onPass = [&] {
    if (++passes == 4) rig.frm.Click(rig.frm["cmdStop"]);
  };
  EXPECT_EQ(rig.Run(), "NetErr");
  EXPECT_EQ(rig.internet.silences.back(), 3);
  EXPECT_EQ(rig.internet.cancels, 1);
  EXPECT_EQ(rig.files.files.count(PartialFileName(kTarget)), 0u);
}

// A proxy that asks for a login gets the one typed into the system's dialog, again after a refusal,
// and keeps it for later downloads through it, never another proxy. Cancel, or a third refusal, is
// ProxyErr.
TEST(Download, AProxyLoginIsAskedUpToThreeTimesAndKeptForTheRun) {
  using Login = ScriptedInternet::Login;
  const Login right{"alice", "s3cret"}, wrong{"alice", "guess"};
  const std::tuple<std::vector<std::optional<Login>>, const char*, const char*, const char*,
                   std::size_t>
      cases[] = {{{wrong, right}, "401", "", "", 2},
                 {{wrong, right}, "407", "", "", 2},
                 {{wrong, wrong, wrong, right}, "407", "ProxyErr", "", 4},
                 {{wrong, wrong, wrong, right}, "401", "ProxyErr", "", 4},
                 {{std::nullopt}, "407", "ProxyErr", "ProxyErr", 2}};
  for (const auto& [typed, refusal, first, second, dialogs] : cases) {
    SCOPED_TRACE(std::string(refusal) + " " + std::to_string(dialogs));
    DownloadRig rig;
    rig.internet.proxyLogin = right;
    rig.internet.refusal = refusal;
    rig.internet.typed = typed;
    EXPECT_EQ(rig.Run(), first);
    EXPECT_EQ(rig.Run(), second);
    EXPECT_EQ(rig.internet.dialogs, dialogs);
    EXPECT_EQ(rig.files.files[kTarget], *second ? kOld : rig.internet.body);
    rig.proxy = "10.0.0.9:8080";
    rig.Run();
    EXPECT_EQ(rig.internet.dialogs, dialogs + 1) << "the login is not another proxy's";
  }
}

// After a drop If-Range names the version: the ETag, or Last-Modified where there is none. A weak
// ETag, or one with a control character, names no exact bytes: the file starts over. So does a 206
// that starts at another byte than the one asked for.
TEST(Download, OnlyAStrongValidatorAndTheRangeAskedForContinueAFile) {
  const std::string day = "Mon, 01 Dec 2025 08:00:00 GMT";
  const std::tuple<std::string, std::string, std::optional<std::uint64_t>, std::string> cases[] = {
      {"\"v1\"", day, {}, "4096 \"v1\""},
      {"", day, {}, "4096 " + day},
      {"W/\"v1\"", day, {}, "0 "},
      {"\"v\x01\"", "", {}, "0 "},
      {"\"v1\"", "", 0, "4096 \"v1\"|0 "}};
  for (const auto& [etag, modified, rangeStart, asked] : cases) {
    SCOPED_TRACE(etag + modified);
    DownloadRig rig;
    rig.internet.etag = etag;
    rig.internet.lastModified = modified;
    rig.internet.rangeStart = rangeStart;
    rig.internet.cuts = {4096};
    EXPECT_EQ(rig.Run(), "");
    std::string after;
    for (std::size_t n = 1; n < rig.internet.requests.size(); ++n) {
      const FetchRequest& request = rig.internet.requests[n];
      after += (n > 1 ? "|" : "") + std::to_string(request.from) + " " + request.ifRange;
    }
    EXPECT_EQ(after, asked);
    EXPECT_EQ(rig.files.files[kTarget], rig.internet.body);
  }
}

TEST(AttemptLog, NamesTheTypedProxyWhatCameBackAndWhatIsUnknown) {
  EXPECT_EQ(AttemptLine({"https://h/i", "10.0.0.1:3128", {407, 200}, 12152, {}, 0, 7, 0}, "ok"),
            "Download https://h/i, proxy 10.0.0.1:3128, status 407 200, error 12152 "
            "ERROR_HTTP_INVALID_SERVER_RESPONSE, 7 of unknown bytes from byte 0: ok");
  EXPECT_EQ(AttemptLine({"https://h/i", ":", {}, {}, 20, 0, 0, 0}, "NetErr"),
            "Download https://h/i, proxy from the system's settings, nothing heard for 20 s, 0 of "
            "unknown bytes from byte 0: NetErr");
}

// Only the range asked for, of the length first announced, continues a body.
TEST(RetryRules, ARangeContinuesOnlyFromTheByteAskedOfTheSameLength) {
  const ResumePoint asked{"\"v1\"", 1000, 400};
  for (const ResumePoint& none :
       {ResumePoint{"", 1000, 400}, ResumePoint{"\"v1\"", 0, 400}, ResumePoint{"\"v1\"", 1000, 0}})
    EXPECT_FALSE(AsksRange(none));
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

// A typed proxy, even one without its host, serves all but local addresses (an empty port leaves
// the system's settings); the cache entry's address lowers only the scheme.
TEST(DownloadText, ProxyAndCacheAddress) {
  EXPECT_EQ(ChooseProxy(":8080"), ":8080");
  EXPECT_EQ(CacheEntryAddress("HTTP://Orvane.Example/Setup.EXE"),
            "http://Orvane.Example/Setup.EXE");
  EXPECT_EQ(CacheEntryAddress("http://Orvane.Example/A"), "http://Orvane.Example/A");
}

}  // namespace
}  // namespace orvane::testing
