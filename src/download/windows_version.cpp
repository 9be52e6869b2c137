// Naming the Windows version, and the product server's address.
#include "download/mdl_download.h"

namespace orvane {

std::string MdlDownload::GetWindowsVersionName() {
  // The real version, whatever a compatibility setting says. An unknown
  // version (zeros) names no known one.
  const WindowsBuild info = platform_.system.RealVersion();

  const bool nt = info.platformId == kVerPlatformWin32Nt;
  switch (info.majorVersion) {
    case 5:
      return "Windows 2000";  // 5.1 and 5.2 as well
    case 4:
      if (nt) return "Windows NT 4.0";
      return info.minorVersion == 0 ? "Windows 95" : "Windows 98";
    case 3:
      return nt ? "Windows NT 3.x" : "Windows 3.x";
    default:
      return "Unknown Windows Version";
  }
}

// HTTPS on every version. The program can't run on Windows 5.x, whose TLS
// the server would not take, so a version that says 5 can only be a
// compatibility setting lying about it, which must not talk every download
// down to plain HTTP. The name stays in the log, for support.
void MdlDownload::UseServer(std::string_view host) {
  ServerBase = "https://" + std::string(host);
  log_.Write("Server: " + ServerBase + " on " + GetWindowsVersionName());
}

}  // namespace orvane
