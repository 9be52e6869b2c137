// The Windows version, the user's locale, temporary folder and clock, and
// the program's rights, from kernel32, ntdll and advapi32.
#pragma once

#include "platform/system_info.h"

namespace orvane::win32 {

class Win32SystemInfo : public SystemInfo {
 public:
  std::string ThousandsSeparator() override;
  std::string ProgramDataFolder() override;
  LocalDateTime LocalTime() override;
  WindowsBuild RealVersion() override;
  bool IsElevated() override;
};

}  // namespace orvane::win32
