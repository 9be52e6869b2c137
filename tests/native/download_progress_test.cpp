// DownloadFile when the transfer works: the calls it makes, the captions and
// bar widths the user sees, and when the message loop runs.
#include <gtest/gtest.h>

#include "download_fixture.h"

namespace orvane::testing {
namespace {

TEST_F(DownloadTest, WorkedTransferShowsEveryStepAndFinishes) {
  Serve({Bytes(4096, 'a'), Bytes(4096, 'b'), Bytes(1808, 'c')});

  EXPECT_EQ(Download(), "");

  EXPECT_EQ(window.screen,
            (Lines{"caption Downloading ... 0%", "bar 1", "caption Downloading ... 40%: 4Kb / 10Kb",
                   "bar 202", "DoEvents", "caption Downloading ... 80%: 8Kb / 10Kb", "bar 403",
                   "DoEvents", "caption Downloading ... 98%: 10Kb / 10Kb", "bar 492", "DoEvents",
                   "bar 504", "caption Finished 100%: 10Kb / 10Kb"}));
  EXPECT_EQ(files.Contents(kTarget), Bytes(4096, 'a') + Bytes(4096, 'b') + Bytes(1808, 'c'));
  EXPECT_EQ(Files(), (Lines{kTarget}));
}

TEST_F(DownloadTest, PercentageIsNotCappedWhileTheBarStopsFull) {
  Serve({Bytes(700), Bytes(835)});  // 1,535 bytes: one kilobyte announced

  EXPECT_EQ(Download(), "");

  EXPECT_EQ(window.screen,
            (Lines{"caption Downloading ... 0%", "bar 1", "caption Downloading ... 68%: 1Kb / 1Kb",
                   "bar 345", "DoEvents", "caption Downloading ... 150%: 1Kb / 1Kb", "bar 504",
                   "DoEvents", "caption Finished 100%: 1Kb / 1Kb"}));
}

TEST_F(DownloadTest, WithoutAKilobyteAnnouncedNothingMovesAndTheLoopNeverRuns) {
  const struct {
    std::optional<std::string> length;
    std::size_t body;
  } cases[] = {{"512", 512}, {std::nullopt, 10000}, {"0", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length.value_or("no length"));
    caption.SetCaption("left from before");
    bar.SetWidth(7);
    window.screen.clear();
    internet = ScriptedInternet();
    internet.response.contentLength = c.length;
    internet.response.chunks = {Bytes(c.body)};

    EXPECT_EQ(Download(), "");

    EXPECT_EQ(window.screen, (Lines{"caption Downloading ... 0%", "bar 1"}));
    EXPECT_EQ(ui.doEventsCalls, 0);
    EXPECT_EQ(files.Contents(kTarget), Bytes(c.body));
  }
}

// 1,263,616 bytes of an announced 3,335 kilobytes, after a first block too
// small to show a whole kilobyte.
TEST_F(DownloadTest, CaptionGroupsWithTheLocaleSeparatorAndLeavesZeroEmpty) {
  for (const auto& [separator, received, expected] :
       {std::tuple{",", "1,234", "3,335"}, std::tuple{".", "1.234", "3.335"}}) {
    SCOPED_TRACE(separator);
    window.screen.clear();
    internet = ScriptedInternet();
    system.thousandsSeparator = separator;
    internet.response.contentLength = std::to_string(3335 * 1024);
    internet.response.chunks = {Bytes(300), Bytes(1263316)};

    EXPECT_EQ(Download(), "NetErr");  // the rest never came

    EXPECT_EQ(window.screen.at(2),
              std::string("caption Downloading ... 0%: Kb / ") + expected + "Kb");
    EXPECT_EQ(caption.Caption(),
              std::string("Downloading ... 37%: ") + received + "Kb / " + expected + "Kb");
  }
}

// Handlers that run inside the message loop may reset or resize the
// controls; the next block works from what they left.
TEST_F(DownloadTest, ProgressFollowsControlsChangedInsideTheMessageLoop) {
  Serve({Bytes(4096), Bytes(4096), Bytes(1808)});
  ui.onDoEvents = [this] {
    if (ui.doEventsCalls == 1) {
      caption.SetWidth(250);
      caption.SetCaption("");
      bar.SetWidth(1);
    } else if (ui.doEventsCalls == 2) {
      caption.SetWidth(100);  // now narrower than the bar
    }
  };

  EXPECT_EQ(Download(), "");

  std::vector<std::string> bars;
  for (const std::string& change : window.screen) {
    if (change.starts_with("bar ")) bars.push_back(change);
  }
  EXPECT_EQ(bars, (Lines{"bar 1", "bar 202", "bar 1", "bar 200", "bar 100"}));
  EXPECT_EQ(bar.Width(), 100);
  EXPECT_EQ(caption.Caption(), "Finished 100%: 10Kb / 10Kb");
}

TEST_F(DownloadTest, MakesExactlyTheInternetCallsOfOneTransfer) {
  download.ServerBase = "HTTP://Orvane.Example";
  Serve({Bytes(10)});

  EXPECT_EQ(Download("10.0.0.5:3128"), "");

  EXPECT_EQ(internet.calls,
            (Lines{"DeleteUrlCacheEntryA(http://Orvane.Example/Tarvik/Tarvik.exe)",
                   "InternetOpenA(API-Download, 3, 10.0.0.5:3128, <local>, 0)",
                   "InternetOpenUrlA(session, HTTP://Orvane.Example/Tarvik/Tarvik.exe, null, 0, "
                   "0x20000000, 0)",
                   "HttpQueryInfoA(request, 19, zeroed 1024, 0)",
                   "HttpQueryInfoA(request, 5, zeroed 1024, 0)", "InternetReadFile(request, 4096)",
                   "InternetReadFile(request, 4096)", "InternetCloseHandle(request)",
                   "InternetCloseHandle(session)"}));
}

TEST_F(DownloadTest, AnEmptyPortMeansTheSystemSettingsAndAnythingElseIsTheProxy) {
  const struct {
    const char* proxy;
    const char* session;
  } cases[] = {
      {":", "InternetOpenA(API-Download, 0, null, null, 0)"},
      {"proxy.lan:", "InternetOpenA(API-Download, 0, null, null, 0)"},
      {":8080", "InternetOpenA(API-Download, 3, :8080, <local>, 0)"},
      {"proxy.lan:8080", "InternetOpenA(API-Download, 3, proxy.lan:8080, <local>, 0)"},
  };
  for (const auto& c : cases) {
    internet = ScriptedInternet();
    Serve({Bytes(1)});
    EXPECT_EQ(Download(c.proxy), "");
    EXPECT_EQ(internet.calls.at(1), c.session) << c.proxy;
  }
}

TEST_F(DownloadTest, PurgeLowersOnlyTheSchemePart) {
  const struct {
    const char* address;
    const char* purged;
  } cases[] = {
      {"https://Orvane.Example/Tarvik/A.rar", "https://Orvane.Example/Tarvik/A.rar"},
      {"HTTP://Orvane.Example/Install/Setup.EXE", "http://Orvane.Example/Install/Setup.EXE"},
      // Case-sensitive: "HTTPS://" is not found, so the search starts at the
      // first character and stops at the first slash.
      {"HTTPS://Orvane.Example/X", "https://Orvane.Example/X"},
      // "https://" anywhere moves the search start, here past an http scheme.
      {"HTTP://Host/Go?to=https://x", "http://host/Go?to=https://x"},
      {"HTTPS:Orvane", "HTTPS:Orvane"},
  };
  for (const auto& c : cases) {
    internet.calls.clear();
    download.PurgeUrlCache(c.address);
    EXPECT_EQ(internet.calls, (Lines{std::string("DeleteUrlCacheEntryA(") + c.purged + ")"}));
  }
}

// Over 4 GiB, so neither a signed nor an unsigned 32-bit count survives it.
TEST_F(DownloadTest, BodiesBeyondThirtyTwoBitsCompleteWithProgress) {
  constexpr std::uint64_t kSize = (std::uint64_t{4} << 30) + 1000;
  internet.response.contentLength = std::to_string(kSize);
  internet.response.generatedBytes = kSize;
  internet.recordReads = false;
  files.onlyCount = true;
  window.recording = false;
  std::string lastProgress;
  ui.onDoEvents = [&] { lastProgress = caption.Caption(); };

  EXPECT_EQ(Download(), "");

  EXPECT_EQ(files.FileLength(kTarget), kSize);
  EXPECT_EQ(ui.doEventsCalls, 1048577);
  EXPECT_EQ(internet.readSizesAskedFor, std::vector<std::uint32_t>{4096});
  EXPECT_EQ(lastProgress, "Downloading ... 100%: 4,194,305Kb / 4,194,305Kb");
  EXPECT_EQ(caption.Caption(), "Finished 100%: 4194305Kb / 4194305Kb");
  EXPECT_EQ(bar.Width(), 504);
}

}  // namespace
}  // namespace orvane::testing
