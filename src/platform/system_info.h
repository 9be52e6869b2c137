// The seam to what the system tells of itself: its version, the user's
// locale, temporary folder and clock, and the program's rights.
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The fields of OSVERSIONINFOA the program reads; zero before the call.
struct OsVersionInfo {
  std::uint32_t osVersionInfoSize = 0;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t platformId = 0;
};
inline constexpr std::uint32_t kOsVersionInfoASize = 148;  // sizeof(OSVERSIONINFOA)
inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;

// Windows' own version, which compatibility settings do not change.
struct WindowsBuild {
  std::uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0;
};

// A moment on the computer's local clock.
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual bool GetVersionExA(OsVersionInfo& info) = 0;
  // The user's locale separator between groups of thousands.
  virtual std::string ThousandsSeparator() = 0;
  // The user's temporary folder, ending in a backslash; "" when unknown.
  virtual std::string TempFolder() = 0;
  virtual LocalDateTime LocalTime() = 0;
  // Zeros when unknown.
  virtual WindowsBuild RealVersion() = 0;
  // Whether the program runs with administrator rights (an elevated token).
  virtual bool IsElevated() = 0;
};

}  // namespace orvane
