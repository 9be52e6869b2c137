// MdlDownload::DownloadFile: one file from the product server into a local
// file, tried again by itself on a line that drops, with progress in a
// caption and a bar, answered by how it ended.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "download/download_progress.h"
#include "download/download_text.h"
#include "download/mdl_download.h"
#include "platform/control.h"

namespace orvane {

namespace {

using enum DownloadResult;
// The wait between attempts is cut into slices this long, so a Stop handled
// inside one ends it.
constexpr double kPauseSliceSeconds = 0.05;

}  // namespace

// The cache entry is purged once per call, and every request asks for a
// fresh copy besides. The body goes to a partial file that replaces
// localFile only once it holds exactly the announced length, so a failure
// never leaves a truncated file under the target's name. Every attempt that
// fails for the moment is followed by a wait and another, until
// kAttemptsWithoutProgress in a row have not added a byte beyond the most
// the partial file ever held, or nothing was heard for kQuietClickSeconds.
DownloadResult MdlDownload::DownloadFile(const std::string& path, const std::string& localFile,
                                         Control& caption, Control& bar, const std::string& proxy) {
  if (ServerBase.empty() || path.empty() || localFile.empty()) return FileErr;
  if (abandoned_) return NetErr;

  const std::string address = ServerBase + path;
  Click click{address, proxy, PartialFileName(localFile), TakeKept(localFile, address),
              CacheEntryAddress(address)};
  running_ = address;
  transfer_ = {nullptr, click.partial};
  // What the window shows now is painted before anything is asked for.
  caption.SetCaption(ConnectingCaption(1));
  bar.SetWidth(1);
  platform_.ui.DoEvents();
  const DownloadResult result = abandoned_ ? NetErr : Fetch(click, localFile, caption, bar);
  running_.clear();
  transfer_ = {};
  return result;
}

DownloadResult MdlDownload::Fetch(Click& click, const std::string& localFile, Control& caption,
                                  Control& bar) {
  const std::string& address = click.address;
  const ResumePoint& point = click.point;
  // Each attempt leaves a line for support, saying what comes next.
  auto log = [&](std::string_view outcome) {
    click.record.received = point.received;
    click.record.total = point.total;
    log_.Write(AttemptLine(click.record, outcome));
  };
  std::uint64_t most = point.received;
  int retries = 0;
  int withoutProgress = 0;
  for (;;) {
    ++click.attempt;
    const AttemptEnd end = Attempt(click, caption, bar);
    if (abandoned_) return NetErr;
    if (end.kind != AttemptEnd::Retry) {
      const DownloadResult result = Finish(end.kind, localFile, address, point, caption, bar);
      log(ResultName(result));
      return result;
    }
    const bool progressed = point.received > most;
    withoutProgress = progressed ? 0 : withoutProgress + 1;
    most = std::max(most, point.received);
    if (withoutProgress >= kAttemptsWithoutProgress || click.quietSeconds >= kQuietClickSeconds) {
      log(ResultName(NetErr));
      return Finish(AttemptEnd::NetErr, localFile, address, point, caption, bar);
    }
    retries = progressed ? 1 : retries + 1;
    const std::uint32_t wait = WaitSecondsBefore(retries, end.retryAfter);
    log("retry in " + std::to_string(wait) + " s");
    if (!WaitBeforeRetry(click, wait, caption)) return NetErr;
  }
}

// A partial body is continued only by a call for the same address into the
// same file; any other leaves it to be started over.
ResumePoint MdlDownload::TakeKept(const std::string& localFile, const std::string& address) {
  const auto found = kept_.find(localFile);
  if (found == kept_.end()) return {};
  const Kept kept = std::move(found->second);
  kept_.erase(found);
  return kept.address == address ? kept.point : ResumePoint{};
}

// A complete body takes the target's place; after "NetErr" a body that can
// be continued stays for the next call; anything else leaves no partial file.
DownloadResult MdlDownload::Finish(AttemptEnd::Kind kind, const std::string& localFile,
                                   const std::string& address, const ResumePoint& point,
                                   Control& caption, Control& bar) {
  FileSystem& files = platform_.files;
  const std::string partial = PartialFileName(localFile);
  if (kind == AttemptEnd::Complete) {
    // The file on disk must hold what was received, not merely claim to.
    const std::optional<std::uint64_t> length = files.FileLength(partial);
    if (!length || *length != point.received) {
      files.RemoveFile(partial);
      return NetErr;
    }
    if (!files.MoveReplacing(partial, localFile)) {
      files.RemoveFile(partial);
      return DiskErr;
    }
    const std::uint64_t expectedKb = RoundedKilobytes(point.total);
    if (expectedKb >= 1) {
      bar.SetWidth(caption.Width());
      caption.SetCaption(FinishedCaption(expectedKb));
    }
    return Ok;
  }
  const bool network = kind == AttemptEnd::NetErr || kind == AttemptEnd::ProxyErr;
  if (network && CanResume(point) && point.received > 0) {
    kept_[localFile] = {address, point};
    return kind == AttemptEnd::ProxyErr ? ProxyErr : NetErr;
  }
  files.RemoveFile(partial);
  switch (kind) {
    case AttemptEnd::FileErr:
      return FileErr;
    case AttemptEnd::DiskErr:
      return DiskErr;
    case AttemptEnd::ProxyErr:
      return ProxyErr;
    default:
      return NetErr;
  }
}

// The caption counts the wait down in whole seconds.
bool MdlDownload::WaitBeforeRetry(Click& click, std::uint32_t seconds, Control& caption) {
  for (double left = seconds; left > 0 && !abandoned_; left -= kPauseSliceSeconds) {
    caption.SetCaption(
        RetryCaption(static_cast<std::uint32_t>(std::ceil(left)), click.attempt + 1));
    platform_.ui.Pause(std::min(left, kPauseSliceSeconds));
  }
  click.quietSeconds += seconds;
  return !abandoned_;
}

// The fetch's connection is closed at once, and the partial files closed
// and removed, so nothing half-written stays behind or stays open for the
// next copy of the program.
void MdlDownload::AbandonTransfer() {
  abandoned_ = true;
  cancel_.request_stop();
  if (!running_.empty()) log_.Write("Download " + running_ + ": stopped");
  const Transfer transfer = std::exchange(transfer_, {});
  if (transfer.file) transfer.file->Close();
  // Between two attempts no file is open, but what came so far is on disk.
  if (!transfer.partialPath.empty()) platform_.files.RemoveFile(transfer.partialPath);
  DiscardKept();
}

void MdlDownload::DiscardKept() {
  for (const auto& [localFile, kept] : std::exchange(kept_, {})) {
    platform_.files.RemoveFile(PartialFileName(localFile));
  }
}

}  // namespace orvane
