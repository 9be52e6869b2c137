// The seam to what the system tells of itself: its version, the user's
// locale and clock, the folder for all users' program data, and the
// program's rights.
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;

// Windows' own version, which compatibility settings do not change.
struct WindowsBuild {
  std::uint32_t majorVersion = 0, minorVersion = 0, buildNumber = 0, platformId = 0;
};

// A moment on the computer's local clock.
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The user's locale separator between groups of thousands.
  virtual std::string ThousandsSeparator() = 0;
  // The folder of program data for all users (the system's own, which no
  // user's setting can move), ending in a backslash; "" when unknown.
  virtual std::string ProgramDataFolder() = 0;
  virtual LocalDateTime LocalTime() = 0;
  // Windows' real version, whatever a compatibility setting makes the
  // program believe; zeros when unknown.
  virtual WindowsBuild RealVersion() = 0;
  // Whether the program runs with administrator rights (an elevated token).
  virtual bool IsElevated() = 0;
};

}  // namespace orvane
