// One attempt of a download: one fetch, from the first byte or from where
// the partial file ends, its answer judged, its body appended block by block
// with the progress shown for the whole file, and the window's messages run
// while it waits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "download/download_progress.h"
#include "download/download_text.h"
#include "download/internet_errors.h"
#include "download/mdl_download.h"
#include "platform/control.h"

namespace orvane {

namespace {

std::optional<std::uint64_t> Number(const std::optional<std::string>& text) {
  return text ? ParseHeaderNumber(*text) : std::nullopt;
}

// The version's name as the server gives it, sent back in If-Range: the
// ETag, or Last-Modified where there is none. A weak ETag ("W/...") names
// content that may differ byte for byte, which a range must never be
// stitched to, and one with a control character would end the header: with
// either the file starts over instead.
std::string Validator(const FetchAnswer& answer) {
  for (const std::optional<std::string>* text : {&answer.etag, &answer.lastModified}) {
    if (!*text || (*text)->empty()) continue;
    if ((*text)->starts_with("W/")) return "";
    const bool printable = std::ranges::all_of(**text, [](char c) { return c >= ' ' && c != 127; });
    return printable ? **text : "";
  }
  return "";
}

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

}  // namespace

// Judges the answer before anything is shown or written. A body that starts
// the file again truncates the partial file; one that continues it is
// appended only to a partial file of exactly the length it continues.
// Progress, and with it a message-loop pass per block, only when at least a
// kilobyte is announced. The controls are read afresh for every block:
// handlers run inside the pass may have resized or reset them.
class MdlDownload::AttemptSink final : public FetchSink {
 public:
  AttemptSink(MdlDownload& download, Click& click, Control& caption, Control& bar)
      : download_(download), click_(click), caption_(caption), bar_(bar) {}
  AttemptSink(const AttemptSink&) = delete;
  AttemptSink& operator=(const AttemptSink&) = delete;
  ~AttemptSink() override { download_.transfer_.file = nullptr; }

  // Until the server is heard from, the caption says what the attempt waits
  // for. Silence of kSilenceSeconds, or the rest of the click's quiet
  // minute, ends the attempt.
  bool Waiting(FetchStage stage, double silentSeconds) override {
    if (download_.abandoned_) return false;
    silentSeconds_ = silentSeconds;
    const double quiet = heard_ ? silentSeconds : click_.quietSeconds + silentSeconds;
    if (silentSeconds >= kSilenceSeconds || quiet >= kQuietClickSeconds) {
      click_.record.silentSeconds = static_cast<std::uint32_t>(silentSeconds);
      return false;
    }
    if (!heard_) {
      caption_.SetCaption(stage == FetchStage::Connecting ? ConnectingCaption(click_.attempt)
                                                          : AwaitingAnswerCaption(click_.attempt));
    }
    download_.platform_.ui.DoEvents();
    return !download_.abandoned_;
  }

  AnswerStep Answer(const FetchAnswer& answer) override {
    if (download_.abandoned_) return {};
    heard_ = true;
    silentSeconds_ = 0;
    const std::optional<std::uint64_t> status = Number(answer.status);
    if (status) click_.record.statuses.push_back(*status);
    if (status && IsProxyRefusal(*status, loginSent_)) return LogInToProxy(*status);
    end_ = Judge(status, answer);
    return {end_ ? AnswerStep::Stop : AnswerStep::ReadBody, {}};
  }

  void LoginTyped(const ProxyLogin& login) override {
    download_.proxyLogin_ = KeptLogin{ChooseProxy(click_.proxy), login};
  }

  bool Block(const std::byte* data, std::size_t size) override {
    if (download_.abandoned_ || !file_) return false;
    heard_ = true;
    silentSeconds_ = 0;
    ResumePoint& point = click_.point;
    if (!file_->Write(data, size)) return Ends(Received::DiskFailed);
    if (point.received > std::numeric_limits<std::uint64_t>::max() - size) {
      return Ends(Received::OutOfRange);
    }
    point.received += size;
    if (expectedKb_ < 1) return true;
    if (!ShowProgress(point.received, expectedKb_, separator_, caption_, bar_)) {
      return Ends(Received::OutOfRange);
    }
    download_.platform_.ui.DoEventsPaced();
    return !download_.abandoned_;
  }

  // How the attempt ended, once the fetch has returned.
  AttemptEnd End(const FetchResult& result) {
    click_.quietSeconds = heard_ ? silentSeconds_ : click_.quietSeconds + silentSeconds_;
    if (download_.abandoned_) return {AttemptEnd::NetErr};  // the partial file is already gone
    if (end_) return *end_;
    if (result.kind == FetchResult::LoginCancelled) return {AttemptEnd::ProxyErr};
    if (result.kind == FetchResult::Failed) click_.record.error = result.error;
    if (!file_) {  // the request failed, or nothing was heard
      const bool fatal =
          result.kind == FetchResult::Failed && !IsTransientInternetError(result.error);
      return {fatal ? AttemptEnd::NetErr : AttemptEnd::Retry};
    }
    // A body that broke off, or stopped coming, is tried again.
    if (result.kind != FetchResult::Complete && received_ == Received::Complete) {
      received_ = Received::NetworkFailed;
    }
    if (!file_->Close() && received_ == Received::Complete) received_ = Received::DiskFailed;
    switch (received_) {
      case Received::DiskFailed:
        return {AttemptEnd::DiskErr};
      case Received::OutOfRange:
        return {AttemptEnd::NetErr};
      case Received::NetworkFailed:
        return {AttemptEnd::Retry};
      case Received::Complete:
        break;
    }
    const ResumePoint& point = click_.point;
    // Without an announced length the end of the data is the end of the file.
    if (point.total == 0) return {AttemptEnd::Complete};
    if (point.received < point.total) return {AttemptEnd::Retry};  // closed early
    return {point.received == point.total ? AttemptEnd::Complete : AttemptEnd::NetErr};
  }

 private:
  enum class Received { Complete, NetworkFailed, OutOfRange, DiskFailed };

  bool Ends(Received how) {
    received_ = how;
    return false;
  }

  // 404 and 410 say the file is not on the server, which the user is told
  // apart from a network fault; an answer that says "not now" is asked
  // again, and so is one without a status (WinINet may give 0): the
  // connection closed before the server answered. Any other non-2xx body is
  // an error page. Nothing when the body is to be read.
  std::optional<AttemptEnd> Judge(std::optional<std::uint64_t> status, const FetchAnswer& answer) {
    ResumePoint& point = click_.point;
    if (!status || *status < 100) return AttemptEnd{AttemptEnd::Retry};
    if (*status == 404 || *status == 410) return AttemptEnd{AttemptEnd::FileErr};
    if (IsTransientStatus(*status)) return AttemptEnd{AttemptEnd::Retry, Number(answer.retryAfter)};
    const bool rangeAsked = AsksRange(point);
    // The range is past the end of the file as it is now: it changed.
    if (*status == 416 && rangeAsked) {
      point = {};
      return AttemptEnd{AttemptEnd::Retry};
    }
    if (*status < 200 || *status > 299) return AttemptEnd{AttemptEnd::NetErr};

    const BodyFit fit =
        FitOf(*status, point,
              answer.contentRange ? ParseContentRange(*answer.contentRange) : std::nullopt);
    if (fit == BodyFit::Mismatch) {
      if (!rangeAsked) return AttemptEnd{AttemptEnd::NetErr};
      point = {};  // never stitch two versions: start over
      return AttemptEnd{AttemptEnd::Retry};
    }
    // A file that can't be created, written or put in place is this
    // computer's failure, not the network's, and is reported as such.
    FileSystem& files = download_.platform_.files;
    if (fit == BodyFit::Fresh) {
      point = {Validator(answer), Number(answer.contentLength).value_or(0), 0};
      file_ = files.OpenForWriting(click_.partial);
      if (!file_) return AttemptEnd{AttemptEnd::DiskErr};
    } else {
      file_ = files.OpenForAppending(click_.partial, point.received);
      if (!file_) {  // the partial file changed meanwhile
        point = {};
        return AttemptEnd{AttemptEnd::Retry};
      }
    }
    download_.transfer_.file = file_.get();
    expectedKb_ = RoundedKilobytes(point.total);
    separator_ = expectedKb_ >= 1 ? download_.platform_.system.ThousandsSeparator() : "";
    if (point.received == 0 || expectedKb_ < 1) {
      caption_.SetCaption(std::string(kStartCaption));
      bar_.SetWidth(1);
    } else if (!ShowProgress(point.received, expectedKb_, separator_, caption_, bar_)) {
      file_->Close();
      return AttemptEnd{AttemptEnd::NetErr};
    }
    return std::nullopt;
  }

  // The login given earlier in this run goes first, unless the proxy refused
  // it in this click; then the system's dialog, whose login is kept for later
  // requests so that the user is asked once.
  AnswerStep LogInToProxy(std::uint64_t status) {
    if (loginSent_) {
      click_.loginRefused = true;
      // The system's dialog asks for the proxy's login only over a 407: a
      // proxy that refused with 401 is asked again on a fresh request, at once.
      if (status != 407) return Stops({AttemptEnd::Retry, 0});
    }
    loginSent_ = true;
    const std::optional<KeptLogin>& kept = download_.proxyLogin_;
    if (kept && kept->proxy == ChooseProxy(click_.proxy) && !click_.loginRefused)
      return {AnswerStep::SendLogin, kept->login};
    if (click_.loginDialogs == kProxyLoginDialogs) return Stops({AttemptEnd::ProxyErr});
    ++click_.loginDialogs;
    return {AnswerStep::AskLogin, {}};
  }

  AnswerStep Stops(AttemptEnd end) {
    end_ = end;
    return {AnswerStep::Stop, {}};
  }

  MdlDownload& download_;
  Click& click_;
  Control& caption_;
  Control& bar_;
  bool heard_ = false;      // the server answered, or sent a byte
  bool loginSent_ = false;  // a login went with the request
  double silentSeconds_ = 0;
  std::optional<AttemptEnd> end_;  // decided by an answer, before any body
  std::unique_ptr<OutputFile> file_;
  Received received_ = Received::Complete;
  std::uint64_t expectedKb_ = 0;
  std::string separator_;
};

MdlDownload::AttemptEnd MdlDownload::Attempt(Click& click, Control& caption, Control& bar) {
  const ResumePoint& point = click.point;
  click.record = {click.address, click.proxy, {}, std::nullopt, std::nullopt, point.received, 0, 0};
  const bool ranged = AsksRange(point);
  const FetchRequest request{click.address,
                             std::exchange(click.staleCacheEntry, {}),
                             ChooseProxy(click.proxy),
                             ranged ? point.received : 0,
                             ranged ? point.validator : "",
                             cancel_.get_token()};
  AttemptSink sink(*this, click, caption, bar);
  return sink.End(platform_.internet.Fetch(request, sink));
}

}  // namespace orvane
