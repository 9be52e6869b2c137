// MdlDownload: the product server's base address, the one routine through
// which every transfer runs, and the naming of the Windows version.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orvane {

class Control;

// The compiled-in product server host (host[:port]), shared by both forms of
// ServerBase.
std::string_view ProductServerHost();

// "http://" + host where the version name is exactly "Windows 2000", else
// "https://" + host.
std::string ServerBaseFor(std::string_view windowsVersionName, std::string_view host);

class MdlDownload {
 public:
  explicit MdlDownload(Platform& platform) : platform_(platform) {}

  // The server's base address, scheme and host without a trailing "/".
  // Empty until the main window's load sets it; never changed afterwards.
  std::string ServerBase;

  // Fetches ServerBase + path into localFile, showing progress in caption and
  // bar. Returns "" on success, "FileErr" for an empty input or a missing
  // file on the server, "DiskErr" when the local file can't be created,
  // written or put in place, "NetErr" for every other failure.
  std::string DownloadFile(const std::string& path, const std::string& localFile, Control& caption,
                           Control& bar, const std::string& proxy);

  // Closes and removes the partial file of a transfer in progress, before
  // the program ends in the middle of it; nothing when none runs.
  void AbandonTransfer();

  // Deletes the address's entry from the system's internet cache.
  void PurgeUrlCache(std::string url);

  // Names the running Windows version from GetVersionExA.
  std::string GetWindowsVersionName();

 private:
  struct Transfer {
    OutputFile* file = nullptr;
    std::string partialPath;
  };

  Platform& platform_;
  Transfer transfer_;  // the file a DownloadFile in progress writes
};

}  // namespace orvane
