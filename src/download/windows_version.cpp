// Naming the Windows version, and the server address form that follows from it.
#include "download/mdl_download.h"

namespace orvane {

std::string MdlDownload::GetWindowsVersionName() {
  // The real version: a compatibility setting, which any of the user's own
  // programs can set, must not talk this program down to plain HTTP. An
  // unknown version (zeros) names no known one.
  const WindowsBuild info = platform_.system.RealVersion();

  const bool nt = info.platformId == kVerPlatformWin32Nt;
  switch (info.majorVersion) {
    case 5:
      return "Windows 2000";  // 5.1 and 5.2 as well: they reach the server the same way
    case 4:
      if (nt) return "Windows NT 4.0";
      return info.minorVersion == 0 ? "Windows 95" : "Windows 98";
    case 3:
      return nt ? "Windows NT 3.x" : "Windows 3.x";
    default:
      return "Unknown Windows Version";
  }
}

std::string ServerBaseFor(std::string_view windowsVersionName, std::string_view host) {
  // Windows of major version 5 lacks the TLS the server asks for, so it is
  // served over plain HTTP; everything else, newer or unknown, uses HTTPS.
  const std::string scheme = windowsVersionName == "Windows 2000" ? "http://" : "https://";
  return scheme + std::string(host);
}

}  // namespace orvane
