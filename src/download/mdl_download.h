// MdlDownload: the product server's base address, the one routine through
// which every transfer runs, and the naming of the Windows version.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "download/attempt_log.h"
#include "download/retry_rules.h"
#include "platform/platform.h"
#include "platform/support_log.h"

namespace orvane {

class Control;

// The compiled-in product server host (host[:port]), shared by both forms of
// ServerBase.
std::string_view ProductServerHost();

// How a download ended: whole, or the failure the user is told of.
enum class DownloadResult {
  Ok,
  FileErr,   // an empty input, or the file is not on the server
  NetErr,    // the network, the server or the proxy failed
  DiskErr,   // the local file can't be created, written or put in place
  ProxyErr,  // the proxy refused every login, or the user gave none
};

// The name support reads in the log: "ok", "NetErr", "FileErr" ...
std::string_view ResultName(DownloadResult result);

class MdlDownload {
 public:
  MdlDownload(Platform& platform, SupportLog& log) : platform_(platform), log_(log) {}

  // The server's base address, scheme and host without a trailing "/".
  // Empty until the main window's load sets it; never changed afterwards.
  std::string ServerBase;

  // Fetches ServerBase + path into localFile, showing progress in caption and
  // bar. A line that drops is tried again within the call, continuing where
  // it stopped; after NetErr the bytes received stay for the next call of the
  // same download.
  DownloadResult DownloadFile(const std::string& path, const std::string& localFile,
                              Control& caption, Control& bar, const std::string& proxy);

  // The program is about to end, perhaps in the middle of a transfer or of
  // the wait before its next attempt: the fetch in progress is cancelled,
  // every partial file is closed and removed, and the transfer asks the
  // server for nothing more.
  void AbandonTransfer();

  // Removes the partial bodies kept for a later click, which none will make.
  void DiscardKept();

  // Names the running Windows version from its real version number.
  std::string GetWindowsVersionName();
  // Sets ServerBase to the https form for `host`, logging the version's name.
  void UseServer(std::string_view host);

 private:
  class AttemptSink;
  struct Transfer {
    OutputFile* file = nullptr;
    std::string partialPath;
  };
  // How one attempt ended, and what the server asked to wait before the next.
  struct AttemptEnd {
    enum Kind { Complete, Retry, NetErr, FileErr, DiskErr, ProxyErr } kind;
    std::optional<std::uint64_t> retryAfter = std::nullopt;
  };
  // A partial body kept after a click that failed, for the next click.
  struct Kept {
    std::string address;
    ResumePoint point;
  };

  // What one call carries from one attempt to the next.
  struct Click {
    std::string address;
    std::string proxy;
    std::string partial;
    ResumePoint point;
    std::string staleCacheEntry;  // purged by the first request of the call
    int attempt = 0;              // the attempt under way, from 1
    double quietSeconds = 0;      // heard nothing from the server for so long before it
    int loginDialogs = 0;         // the proxy's password dialogs shown
    bool loginRefused = false;    // the proxy refused the login kept for the run
    AttemptRecord record{};       // the last attempt, for the log
  };
  // The attempts of one call, each logged, until one ends it.
  DownloadResult Fetch(Click& click, const std::string& localFile, Control& caption, Control& bar);
  AttemptEnd Attempt(Click& click, Control& caption, Control& bar);
  ResumePoint TakeKept(const std::string& localFile, const std::string& address);
  DownloadResult Finish(AttemptEnd::Kind kind, const std::string& localFile,
                        const std::string& address, const ResumePoint& point, Control& caption,
                        Control& bar);
  bool WaitBeforeRetry(Click& click, std::uint32_t seconds, Control& caption);

  Platform& platform_;
  SupportLog& log_;    // each attempt, for support
  Transfer transfer_;  // the partial file of a DownloadFile in progress, open while it is written
  std::map<std::string, Kept> kept_;  // by local file
  // Kept for the run, in memory only, and given to every later request the
  // same proxy asks it of: the user is asked once. `proxy` is the proxy it
  // was typed for (none: the system's settings); no other proxy ever sees it.
  struct KeptLogin {
    std::optional<std::string> proxy;
    ProxyLogin login;
  };
  std::optional<KeptLogin> proxyLogin_;
  bool abandoned_ = false;
  std::stop_source cancel_;  // stops the fetch in progress, and every later one
  std::string running_;      // the address of the call in progress
};

}  // namespace orvane
