// The seam to the rest of the operating system: the message loop, message
// boxes, the cursor, processes, the Windows version and the user's locale.
#pragma once

#include <cstdint>
#include <string>

#include "platform/geometry.h"

namespace orvane {

// OSVERSIONINFOA: every field zero before the call, as the caller fills it.
struct OsVersionInfo {
  std::uint32_t osVersionInfoSize = 0;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  char csdVersion[128] = {};
};
inline constexpr std::uint32_t kOsVersionInfoASize = 148;
inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;

inline constexpr int kMsgBoxCritical = 16;
inline constexpr int kMsgBoxInformation = 64;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Processes the pending window messages once and returns.
  virtual void DoEvents() = 0;
  // A modal message box with an OK button, owned by the main window.
  virtual int ShowMessage(const std::string& text, const std::string& title, int style) = 0;
  virtual bool GetCursorPos(Point& point) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Full path of the running executable.
  virtual std::string ExecutablePath() = 0;
  // Starts a program with no arguments in a normal, focused window; no wait.
  virtual bool StartProgram(const std::string& path) = 0;
  // Ends the own process at once. Fakes return, so callers stop right after.
  virtual void EndProcess() = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual bool GetVersionExA(OsVersionInfo& info) = 0;
  // The user's locale separator between groups of thousands.
  virtual std::string ThousandsSeparator() = 0;
};

}  // namespace orvane
