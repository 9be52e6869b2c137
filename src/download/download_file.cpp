// MdlDownload::DownloadFile: one GET from the product server into a local
// file, with progress in a caption and a bar, answered by a status text.
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "download/download_progress.h"
#include "download/download_text.h"
#include "download/mdl_download.h"
#include "download/unique_internet_handle.h"
#include "platform/control.h"

namespace orvane {

namespace {

constexpr char kFileErr[] = "FileErr";
constexpr char kNetErr[] = "NetErr";
constexpr char kDiskErr[] = "DiskErr";
constexpr char kAgent[] = "API-Download";
constexpr std::uint32_t kBlockSize = 4096;
constexpr std::uint32_t kQueryBufferSize = 1024;

const char* NullOrText(const std::optional<std::string>& text) {
  return text ? text->c_str() : nullptr;
}

// The buffer starts as zero bytes, so the header's text ends at the first
// zero even if the reported length were off.
std::optional<std::uint64_t> QueryHeaderNumber(Internet& internet, InternetHandle request,
                                               std::uint32_t infoLevel) {
  std::array<char, kQueryBufferSize> buffer{};
  std::uint32_t length = kQueryBufferSize;
  std::uint32_t index = 0;
  if (!internet.HttpQueryInfoA(request, infoLevel, buffer.data(), length, index)) {
    return std::nullopt;
  }
  const std::string_view text(buffer.data(), buffer.size());
  return ParseHeaderNumber(text.substr(0, text.find('\0')));
}

enum class Received { Complete, NetworkFailed, DiskFailed };

// Copies the body block by block into the file. Progress, and with it the
// message-loop pass, only when at least a kilobyte is announced. The
// controls are read afresh for every block: handlers run inside the pass may
// have resized or reset them.
Received ReceiveBody(Platform& platform, InternetHandle request, OutputFile& file,
                     std::uint64_t expectedKb, Control& caption, Control& bar) {
  const bool showsProgress = expectedKb >= 1;
  const std::string separator = showsProgress ? platform.system.ThousandsSeparator() : "";
  std::array<std::byte, kBlockSize> block;
  std::uint64_t received = 0;
  for (;;) {
    std::uint32_t read = 0;
    if (!platform.internet.InternetReadFile(request, block.data(), kBlockSize, read)) {
      return Received::NetworkFailed;
    }
    if (read == 0) return Received::Complete;
    // More than the block holds: nothing to trust.
    if (read > kBlockSize) return Received::NetworkFailed;
    if (!file.Write(block.data(), read)) return Received::DiskFailed;
    if (received > std::numeric_limits<std::uint64_t>::max() - read) return Received::NetworkFailed;
    received += read;
    if (!showsProgress) continue;

    const std::optional<std::int16_t> percent = Percentage(received, expectedKb);
    if (!percent) return Received::NetworkFailed;
    caption.SetCaption(
        ProgressCaption(*percent, RoundedKilobytes(received), expectedKb, separator));
    bar.SetWidth(NextBarWidth(bar.Width(), caption.Width(), received, expectedKb));
    platform.ui.DoEventsPaced();
  }
}

bool HoldsAnnouncedLength(FileSystem& files, const std::string& path,
                          const std::optional<std::uint64_t>& announced) {
  const std::optional<std::uint64_t> length = files.FileLength(path);
  return length && (!announced || *length == *announced);
}

}  // namespace

// Freshness comes from the cache purge alone: no reload or no-cache flag is
// passed, only INTERNET_FLAG_EXISTING_CONNECT to reuse a connection to the
// server. The status is checked before anything is shown or written, and the
// body goes to a partial file that replaces localFile only once it holds
// exactly the announced length, so a failure never leaves a truncated file
// under the target's name.
std::string MdlDownload::DownloadFile(const std::string& path, const std::string& localFile,
                                      Control& caption, Control& bar, const std::string& proxy) {
  if (ServerBase.empty() || path.empty() || localFile.empty()) return kFileErr;

  const std::string address = ServerBase + path;
  PurgeUrlCache(address);

  Internet& internet = platform_.internet;
  const ProxyChoice choice = ChooseProxy(proxy);
  UniqueInternetHandle session(
      internet, internet.InternetOpenA(kAgent, choice.accessType, NullOrText(choice.name),
                                       NullOrText(choice.bypass), 0));
  if (!session) return kNetErr;
  UniqueInternetHandle request(internet,
                               internet.InternetOpenUrlA(session.Get(), address, nullptr, 0,
                                                         kInternetFlagExistingConnect, 0));
  if (!request) return kNetErr;

  // 404 and 410 say the file is not on the server, which the user is told
  // apart from a network fault; any other non-2xx body is an error page, and
  // a response whose status can't be read is not trusted either.
  const std::optional<std::uint64_t> status =
      QueryHeaderNumber(internet, request.Get(), kHttpQueryStatusCode);
  if (!status) return kNetErr;
  if (*status < 200 || *status > 299) {
    return *status == 404 || *status == 410 ? kFileErr : kNetErr;
  }

  const std::optional<std::uint64_t> announced =
      QueryHeaderNumber(internet, request.Get(), kHttpQueryContentLength);
  const std::uint64_t expectedKb = announced ? RoundedKilobytes(*announced) : 0;

  caption.SetCaption(std::string(kStartCaption));
  bar.SetWidth(1);

  // A file that can't be created, written or put in place is this
  // computer's failure, not the network's, and is reported as such.
  FileSystem& files = platform_.files;
  const std::string partial = PartialFileName(localFile);
  std::unique_ptr<OutputFile> file = files.OpenForWriting(partial);
  if (!file) return kDiskErr;
  transfer_ = {file.get(), partial};
  Received received = ReceiveBody(platform_, request.Get(), *file, expectedKb, caption, bar);
  transfer_ = {};
  if (!file->Close() && received == Received::Complete) received = Received::DiskFailed;
  file.reset();
  request.Close();
  session.Close();

  if (received == Received::Complete && !HoldsAnnouncedLength(files, partial, announced))
    received = Received::NetworkFailed;
  if (received == Received::Complete && !files.MoveReplacing(partial, localFile))
    received = Received::DiskFailed;
  if (received != Received::Complete) {
    files.RemoveFile(partial);
    return received == Received::DiskFailed ? kDiskErr : kNetErr;
  }

  if (expectedKb >= 1) {
    bar.SetWidth(caption.Width());
    caption.SetCaption(FinishedCaption(expectedKb));
  }
  return "";
}

// The process is about to end in the middle of a transfer: the partial file
// is closed and removed, so nothing half-written stays behind or stays open
// for the next copy of the program.
void MdlDownload::AbandonTransfer() {
  if (!transfer_.file) return;
  const Transfer transfer = std::exchange(transfer_, {});
  transfer.file->Close();
  platform_.files.RemoveFile(transfer.partialPath);
}

}  // namespace orvane
