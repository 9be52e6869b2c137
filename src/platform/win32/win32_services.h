// The Win32 side of the seam for the message loop, message boxes, the
// cursor, processes, the Windows version, the locale and the file system.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/platform.h"

namespace orvane::win32 {

class FormWindow;

// Under Wine every look at the queue is a round trip to the window server,
// so a pass that follows the previous one within this time returns at once;
// the window still repaints and answers a click within a few milliseconds.
inline constexpr double kDefaultMinimumPassSeconds = 0.002;

class Win32UserInterface : public UserInterface {
 public:
  // Message boxes are owned by this window; DoEvents lets it repaint.
  void SetMainWindow(FormWindow* window) { main_ = window; }
  // A pass that comes sooner than this after the previous one returns at
  // once; zero makes every pass look at the queue.
  void SetMinimumPassInterval(double seconds) { minimumPassSeconds_ = seconds; }
  // How many passes looked at the queue (the others returned at once), and
  // the time they took, paints and handlers included.
  std::uint64_t PassesRun() const { return passesRun_; }
  double PassSeconds() const { return passSeconds_; }

  void DoEvents() override;
  int ShowMessage(const std::string& text, const std::string& title, int style) override;
  bool GetCursorPos(Point& point) override;

  // Runs the message loop until the main window is gone; returns the exit code.
  int RunMessageLoop();

 private:
  bool Dispatch(MSG& message);

  FormWindow* main_ = nullptr;
  double minimumPassSeconds_ = kDefaultMinimumPassSeconds;
  LARGE_INTEGER lastPass_{};
  std::uint64_t passesRun_ = 0;
  double passSeconds_ = 0;
};

class Win32Processes : public Processes {
 public:
  std::string ExecutablePath() override;
  bool StartProgram(const std::string& path) override;
  void EndProcess() override;
};

class Win32SystemInfo : public SystemInfo {
 public:
  bool GetVersionExA(OsVersionInfo& info) override;
  std::string ThousandsSeparator() override;
};

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool PathExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override;
  std::optional<std::uint64_t> FileLength(const std::string& path) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
};

}  // namespace orvane::win32
