#include "platform/win32/win32_system_info.h"

#include <windows.h>

#include "platform/win32/utf.h"

namespace orvane::win32 {

bool Win32SystemInfo::GetVersionExA(OsVersionInfo& info) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = info.osVersionInfoSize;
  // GetVersionExA is deprecated in newer SDKs but is exactly the query meant.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool ok = ::GetVersionExA(&version) != FALSE;
#pragma GCC diagnostic pop
  info.majorVersion = version.dwMajorVersion;
  info.minorVersion = version.dwMinorVersion;
  info.platformId = version.dwPlatformId;
  return ok;
}

std::string Win32SystemInfo::ThousandsSeparator() {
  wchar_t separator[8] = {};
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8)) return ",";
  return Narrow(separator);
}

}  // namespace orvane::win32
