#include "platform/win32/win32_system_info.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

std::string Win32SystemInfo::ThousandsSeparator() {
  wchar_t separator[8] = {};
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8)) return ",";
  return Narrow(separator);
}

// The known folder, not the environment variable of that name, which the
// user who elevated the program sets for it.
std::string Win32SystemInfo::ProgramDataFolder() {
  PWSTR folder = nullptr;
  const bool found = SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramData, 0, nullptr, &folder));
  std::string path = found && folder ? Narrow(folder) + "\\" : "";
  CoTaskMemFree(folder);
  return path;
}

LocalDateTime Win32SystemInfo::LocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// ntdll answers the version Windows really is; GetVersionEx answers what the
// manifest and the compatibility settings make of it.
WindowsBuild Win32SystemInfo::RealVersion() {
  auto* const getVersion =
      EntryPoint<LONG WINAPI(RTL_OSVERSIONINFOW*)>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  RTL_OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!getVersion || getVersion(&version) != 0) return {};
  return {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber,
          version.dwPlatformId};
}

bool Win32SystemInfo::IsElevated() {
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  const KernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

}  // namespace orvane::win32
