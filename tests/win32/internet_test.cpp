// WinInetInternet::Fetch against the test product server on loopback.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <vector>

#include "platform/win32/wininet_internet.h"
#include "win32/test_support.h"

namespace orvane::win32 {
namespace {

// One fetch, of a path on the test server or an address, and all it hands
// over; at each wait `onWait` says whether to go on.
struct Recorder : FetchSink {
  explicit Recorder(const std::string& url) {
    request.url = url[0] == '/' ? testing::ServerUrl(url) : url;
  }
  FetchResult Fetch() { return WinInetInternet().Fetch(request, *this); }

  bool Waiting(FetchStage stage, double silentSeconds) override {
    waits.emplace_back(stage, silentSeconds);
    return onWait();
  }
  AnswerStep Answer(const FetchAnswer& answer) override {
    answers.push_back(answer);
    return {step, {}};
  }
  void LoginTyped(const ProxyLogin&) override {}
  bool Block(const std::byte* data, std::size_t size) override {
    if (slowBlocks-- > 0) Sleep(3);  // so that the worker fills its ring meanwhile
    body.append(reinterpret_cast<const char*>(data), size);
    return true;
  }

  FetchRequest request;
  AnswerStep::Kind step = AnswerStep::ReadBody;
  int slowBlocks = 0;
  std::function<bool()> onWait = [] { return true; };
  std::vector<std::pair<FetchStage, double>> waits;  // with the silence so far
  std::vector<FetchAnswer> answers;
  std::string body;
};

TEST(Internet, TheBodyComesWholeInOrderWithTheAnswersFactsAndStaysOutOfTheCache) {
  Recorder sink("/whole.bin"), record("/_control/stats");
  // What another program's fetch left in the cache goes first.
  testing::CacheAsABrowserWould(sink.request.url);
  ASSERT_TRUE(testing::InCache(sink.request.url));
  sink.request.staleCacheEntry = sink.request.url;
  sink.slowBlocks = 300;
  EXPECT_EQ(sink.Fetch().kind, FetchResult::Complete);
  EXPECT_FALSE(testing::InCache(sink.request.url));
  EXPECT_TRUE(sink.body == testing::ServedBytes(0)) << "the body differs";
  const FetchAnswer answer = sink.answers.at(0);
  EXPECT_EQ(std::tuple(answer.status, answer.contentLength), std::tuple("200", "2000000"));
  EXPECT_TRUE(answer.etag.value_or("").starts_with('"'));
  record.Fetch();  // the server's record of the requests so far, as JSON
  EXPECT_NE(record.body.find("\"User-Agent\": \"API-Download\""), std::string::npos);
}

TEST(Internet, TheRestIsAskedForOnlyWhileTheServerHasTheVersionNamed) {
  Recorder head("/ranged.bin"), rest("/ranged.bin"), changed("/ranged.bin");
  head.step = AnswerStep::Stop;
  EXPECT_EQ(head.Fetch().kind, FetchResult::Stopped);
  rest.request.from = changed.request.from = 1'500'000;
  rest.request.ifRange = head.answers.at(0).etag.value_or("");
  changed.request.ifRange = "\"another\"";
  EXPECT_EQ(rest.Fetch().kind, FetchResult::Complete);
  EXPECT_EQ(rest.answers.at(0).contentRange, "bytes 1500000-1999999/2000000");
  EXPECT_TRUE(rest.body == testing::ServedBytes(1'500'000));
  changed.Fetch();
  EXPECT_EQ(changed.body.size(), testing::kServedSize) << "another version comes whole";
}

TEST(Internet, ABusyServersWaitIsHandedOnAndAFailureKeepsWinInetsError) {
  Recorder busy("/busy.bin"), nobody("http://127.0.0.1:1/install.exe");
  busy.step = AnswerStep::Stop;
  busy.Fetch();
  EXPECT_EQ(std::tuple(busy.answers.at(0).status, busy.answers.at(0).retryAfter),
            std::tuple("503", "7"));
  const FetchResult refused = nobody.Fetch();
  EXPECT_EQ(std::tuple(refused.kind, refused.error),
            std::tuple(FetchResult::Failed, std::uint32_t{ERROR_INTERNET_CANNOT_CONNECT}));
}

// Whatever the line does, the window's thread hears what the fetch waits for
// at least every 100 ms, and a stop asked there ends the fetch at once.
TEST(Internet, AWaitSaysWhatForAndAStopEndsItAtOnce) {
  const std::string proxy = testing::Setting("ORVANE_TEST_UNREACHABLE");
  // Through the typed proxy to where nobody listens: no connection made to the
  // test server before is taken again.
  for (const auto& [url, stage] : {std::pair{"http://127.0.0.1:1/", FetchStage::Connecting},
                                   std::pair{"/silent.bin", FetchStage::AwaitingAnswer},
                                   std::pair{"/stalled.bin", FetchStage::ReceivingBody}}) {
    SCOPED_TRACE(url);
    Recorder sink(url);
    std::stop_source stop;
    sink.request.cancel = stop.get_token();
    if (stage == FetchStage::Connecting) sink.request.proxy = proxy;
    const ULONGLONG start = GetTickCount64();
    ULONGLONG asked = 0, last = start, longest = 0;
    sink.onWait = [&] {
      const ULONGLONG now = GetTickCount64();
      longest = std::max(longest, now - std::exchange(last, now));
      if (!asked && sink.waits.back().second >= 1.0) stop.request_stop(), asked = now;
      return now - start < 10'000;  // a stop not heard: the test ends the fetch
    };
    EXPECT_EQ(sink.Fetch().kind, FetchResult::Stopped);
    EXPECT_LT(GetTickCount64() - asked, 300u);
    ASSERT_FALSE(sink.waits.empty());
    EXPECT_EQ(sink.waits.back().first, stage);
    EXPECT_LT(sink.waits.back().second, 2.0);
    EXPECT_LT(longest, 100u);
  }
  const std::string server = testing::Setting("ORVANE_TEST_SERVER");
  Recorder local("http://localhost" + server.substr(server.rfind(':')) + "/whole.bin");
  local.request.proxy = proxy;
  EXPECT_EQ(local.Fetch().kind, FetchResult::Complete) << "a local address goes around the proxy";
}

}  // namespace
}  // namespace orvane::win32
