// One attempt of a download: one GET, from the first byte or from where the
// partial file ends, its answer judged, its body appended block by block
// with the progress shown for the whole file.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "download/download_progress.h"
#include "download/download_text.h"
#include "download/internet_errors.h"
#include "download/mdl_download.h"
#include "download/unique_internet_handle.h"
#include "platform/control.h"

namespace orvane {

namespace {

constexpr char kAgent[] = "API-Download";
constexpr std::uint32_t kBlockSize = 4096;
constexpr std::uint32_t kQueryBufferSize = 1024;
// A fresh copy from the server every time, kept out of the user's browser
// cache, on a connection to the server that may already be open.
constexpr std::uint32_t kRequestFlags =
    kInternetFlagExistingConnect | kInternetFlagReload | kInternetFlagNoCacheWrite;

const char* NullOrText(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

// The buffer starts as zero bytes, so the header's text ends at the first
// zero even if the reported length were off.
std::optional<std::string> QueryHeaderText(Internet& internet, InternetHandle request,
                                           std::uint32_t infoLevel) {
  std::array<char, kQueryBufferSize> buffer{};
  std::uint32_t length = kQueryBufferSize;
  std::uint32_t index = 0;
  if (!internet.HttpQueryInfoA(request, infoLevel, buffer.data(), length, index)) {
    return std::nullopt;
  }
  const std::string_view text(buffer.data(), buffer.size());
  return std::string(text.substr(0, text.find('\0')));
}

std::optional<std::uint64_t> QueryHeaderNumber(Internet& internet, InternetHandle request,
                                               std::uint32_t infoLevel) {
  const std::optional<std::string> text = QueryHeaderText(internet, request, infoLevel);
  return text ? ParseHeaderNumber(*text) : std::nullopt;
}

// The version's name as the server gives it, sent back in If-Range. One
// with a control character is not sent at all: it would end the header.
std::string Validator(Internet& internet, InternetHandle request) {
  for (const std::uint32_t level : {kHttpQueryETag, kHttpQueryLastModified}) {
    const std::optional<std::string> text = QueryHeaderText(internet, request, level);
    if (!text || text->empty()) continue;
    const bool printable = std::ranges::all_of(*text, [](char c) { return c >= ' ' && c != 127; });
    return printable ? *text : "";
  }
  return "";
}

// A connect or a read that hangs fails the attempt instead of the click.
void LimitStalls(Internet& internet, InternetHandle session) {
  for (const std::uint32_t option :
       {kInternetOptionConnectTimeout, kInternetOptionReceiveTimeout}) {
    std::uint32_t milliseconds = kStallMilliseconds;
    internet.InternetSetOptionA(session, option, &milliseconds, sizeof milliseconds);
  }
}

// The proxy login on the request, for the proxy to check when it is sent again.
void SetProxyLogin(Internet& internet, InternetHandle request, const ProxyLogin& login) {
  for (const auto& [option, text] : {std::pair{kInternetOptionProxyUsername, login.user},
                                     std::pair{kInternetOptionProxyPassword, login.password}}) {
    std::string value = text;
    internet.InternetSetOptionA(request, option, value.data(),
                                static_cast<std::uint32_t>(value.size()));
  }
}

std::optional<ProxyLogin> ReadProxyLogin(Internet& internet, InternetHandle request) {
  ProxyLogin login;
  for (auto [option, text] : {std::pair{kInternetOptionProxyUsername, &login.user},
                              std::pair{kInternetOptionProxyPassword, &login.password}}) {
    std::array<char, kQueryBufferSize> buffer{};
    std::uint32_t length = kQueryBufferSize - 1;
    if (!internet.InternetQueryOptionA(request, option, buffer.data(), length)) return std::nullopt;
    *text = buffer.data();
  }
  return login;
}

enum class Received { Complete, NetworkFailed, OutOfRange, DiskFailed };

// The caption and bar for `received` bytes of the whole file; false when
// the percentage leaves its range.
bool ShowProgress(std::uint64_t received, std::uint64_t expectedKb, const std::string& separator,
                  Control& caption, Control& bar) {
  const std::optional<std::int16_t> percent = Percentage(received, expectedKb);
  if (!percent) return false;
  caption.SetCaption(ProgressCaption(*percent, RoundedKilobytes(received), expectedKb, separator));
  bar.SetWidth(NextBarWidth(bar.Width(), caption.Width(), received, expectedKb));
  return true;
}

// Appends the body to the file block by block, counting on from `received`.
// Progress, and with it the message-loop pass, only when at least a
// kilobyte is announced. The controls are read afresh for every block:
// handlers run inside the pass may have resized or reset them.
Received ReceiveBody(Platform& platform, InternetHandle request, OutputFile& file,
                     std::uint64_t& received, std::uint64_t expectedKb,
                     const std::string& separator, Control& caption, Control& bar) {
  std::array<std::byte, kBlockSize> block;
  for (;;) {
    std::uint32_t read = 0;
    if (!platform.internet.InternetReadFile(request, block.data(), kBlockSize, read)) {
      return Received::NetworkFailed;
    }
    if (read == 0) return Received::Complete;
    // More than the block holds: nothing to trust.
    if (read > kBlockSize) return Received::OutOfRange;
    if (!file.Write(block.data(), read)) return Received::DiskFailed;
    if (received > std::numeric_limits<std::uint64_t>::max() - read) return Received::OutOfRange;
    received += read;
    if (expectedKb < 1) continue;
    if (!ShowProgress(received, expectedKb, separator, caption, bar)) return Received::OutOfRange;
    platform.ui.DoEventsPaced();
  }
}

}  // namespace

// The status is judged before anything is shown or written. A body that
// starts the file again truncates the partial file; one that continues it is
// appended only to a partial file of exactly the length it continues.
MdlDownload::AttemptEnd MdlDownload::Attempt(Click& click, Control& caption, Control& bar) {
  Internet& internet = platform_.internet;
  ResumePoint& point = click.point;
  const std::string& partial = click.partial;
  AttemptRecord& record = click.record;
  record = {click.address, click.proxy, {}, std::nullopt, point.received, 0, 0};
  const ProxyChoice choice = ChooseProxy(click.proxy);
  UniqueInternetHandle session(
      internet, internet.InternetOpenA(kAgent, choice.accessType, NullOrText(choice.name),
                                       NullOrText(choice.bypass), 0));
  if (!session) return {AttemptEnd::NetErr};
  LimitStalls(internet, session.Get());
  const std::string headers = RangeHeaders(point);
  UniqueInternetHandle request(
      internet, internet.InternetOpenUrlA(
                    session.Get(), click.address, headers.empty() ? nullptr : headers.c_str(),
                    static_cast<std::uint32_t>(headers.size()), kRequestFlags, 0));
  if (!request) {
    record.error = internet.GetLastError();
    return {IsTransientInternetError(*record.error) ? AttemptEnd::Retry : AttemptEnd::NetErr};
  }

  // 404 and 410 say the file is not on the server, which the user is told
  // apart from a network fault; an answer that says "not now" is asked
  // again, and so is one without a status (WinINet may give 0): the
  // connection closed before the server answered. Any other non-2xx body is an error page.
  std::optional<std::uint64_t> status =
      QueryHeaderNumber(internet, request.Get(), kHttpQueryStatusCode);
  if (status) record.statuses.push_back(*status);
  if (status && IsProxyRefusal(*status, false)) {
    if (const std::optional<AttemptEnd> end = LogInToProxy(request.Get(), status, click)) {
      return *end;
    }
  }
  if (!status || *status < 100) return {AttemptEnd::Retry};
  if (*status == 404 || *status == 410) return {AttemptEnd::FileErr};
  if (IsTransientStatus(*status)) {
    return {AttemptEnd::Retry, QueryHeaderNumber(internet, request.Get(), kHttpQueryRetryAfter)};
  }
  const bool rangeAsked = !headers.empty();
  // The range is past the end of the file as it is now: it changed.
  if (*status == 416 && rangeAsked) {
    point = {};
    return {AttemptEnd::Retry};
  }
  if (*status < 200 || *status > 299) return {AttemptEnd::NetErr};

  const std::optional<std::string> range =
      QueryHeaderText(internet, request.Get(), kHttpQueryContentRange);
  const BodyFit fit = FitOf(*status, point, range ? ParseContentRange(*range) : std::nullopt);
  if (fit == BodyFit::Mismatch) {
    if (!rangeAsked) return {AttemptEnd::NetErr};
    point = {};  // never stitch two versions: start over
    return {AttemptEnd::Retry};
  }

  // A file that can't be created, written or put in place is this
  // computer's failure, not the network's, and is reported as such.
  FileSystem& files = platform_.files;
  std::unique_ptr<OutputFile> file;
  if (fit == BodyFit::Fresh) {
    const std::optional<std::uint64_t> announced =
        QueryHeaderNumber(internet, request.Get(), kHttpQueryContentLength);
    point = {Validator(internet, request.Get()), announced.value_or(0), 0};
    file = files.OpenForWriting(partial);
    if (!file) return {AttemptEnd::DiskErr};
  } else {
    file = files.OpenForAppending(partial, point.received);
    if (!file) {  // the partial file changed meanwhile
      point = {};
      return {AttemptEnd::Retry};
    }
  }

  const std::uint64_t expectedKb = RoundedKilobytes(point.total);
  const std::string separator = expectedKb >= 1 ? platform_.system.ThousandsSeparator() : "";
  Received received = Received::Complete;
  if (point.received == 0 || expectedKb < 1) {
    caption.SetCaption(std::string(kStartCaption));
    bar.SetWidth(1);
  } else if (!ShowProgress(point.received, expectedKb, separator, caption, bar)) {
    received = Received::OutOfRange;
  }
  transfer_.file = file.get();
  if (received == Received::Complete) {
    received = ReceiveBody(platform_, request.Get(), *file, point.received, expectedKb, separator,
                           caption, bar);
    if (received == Received::NetworkFailed) record.error = internet.GetLastError();
  }
  transfer_.file = nullptr;
  if (abandoned_) return {AttemptEnd::NetErr};  // the partial file is already gone
  if (!file->Close() && received == Received::Complete) received = Received::DiskFailed;

  switch (received) {
    case Received::DiskFailed:
      return {AttemptEnd::DiskErr};
    case Received::OutOfRange:
      return {AttemptEnd::NetErr};
    case Received::NetworkFailed:
      return {AttemptEnd::Retry};
    case Received::Complete:
      break;
  }
  // Without an announced length the end of the data is the end of the file.
  if (point.total == 0) return {AttemptEnd::Complete};
  if (point.received < point.total) return {AttemptEnd::Retry};  // closed early
  return {point.received == point.total ? AttemptEnd::Complete : AttemptEnd::NetErr};
}

// The login given earlier in this run goes first, unless the proxy refused
// it in this click; then the system's dialog, which puts what the user
// typed on the request. What was typed is read back so that later requests
// need not ask again. Nothing when the answer that follows is the server's,
// in `status` (none when the request could not be sent again).
std::optional<MdlDownload::AttemptEnd> MdlDownload::LogInToProxy(
    InternetHandle request, std::optional<std::uint64_t>& status, Click& click) {
  Internet& internet = platform_.internet;
  for (;;) {
    if (proxyLogin_ && !click.loginRefused) {
      SetProxyLogin(internet, request, *proxyLogin_);
    } else {
      if (click.loginDialogs == kProxyLoginDialogs) return AttemptEnd{AttemptEnd::ProxyErr};
      ++click.loginDialogs;
      const std::uint32_t answer =
          internet.InternetErrorDlg(request, kErrorInternetIncorrectPassword,
                                    kFlagsErrorUiFilterForErrors | kFlagsErrorUiFlagsChangeOptions |
                                        kFlagsErrorUiFlagsGenerateData);
      if (answer != kErrorInternetForceRetry) return AttemptEnd{AttemptEnd::ProxyErr};
      proxyLogin_ = ReadProxyLogin(internet, request);
    }
    status = internet.HttpSendRequestA(request, nullptr, 0, nullptr, 0)
                 ? QueryHeaderNumber(internet, request, kHttpQueryStatusCode)
                 : std::nullopt;
    if (status) click.record.statuses.push_back(*status);
    if (!status || !IsProxyRefusal(*status, true)) return std::nullopt;
    click.loginRefused = true;
    // The system's dialog asks for the proxy's login only over a 407: a
    // proxy that refused with 401 is asked again on a fresh request, at once.
    if (*status != 407) return AttemptEnd{AttemptEnd::Retry, 0};
  }
}

}  // namespace orvane
