// The seam to what the system tells of itself: its version and the user's locale.
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

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual bool GetVersionExA(OsVersionInfo& info) = 0;
  // The user's locale separator between groups of thousands.
  virtual std::string ThousandsSeparator() = 0;
};

}  // namespace orvane
