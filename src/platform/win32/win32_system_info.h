// The Windows version and the user's locale, from kernel32.
#pragma once

#include "platform/system_info.h"

namespace orvane::win32 {

class Win32SystemInfo : public SystemInfo {
 public:
  bool GetVersionExA(OsVersionInfo& info) override;
  std::string ThousandsSeparator() override;
};

}  // namespace orvane::win32
