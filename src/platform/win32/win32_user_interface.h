// The message loop, message boxes and the cursor on user32.
#pragma once

#include <windows.h>

#include "platform/user_interface.h"

namespace orvane::win32 {

class FormWindow;

// Under Wine every look at the queue is a round trip to the window server,
// so a paced pass that follows the previous pass within this time returns at
// once; the window still repaints and answers a click within a few milliseconds.
inline constexpr double kDefaultMinimumPassSeconds = 0.008;

class Win32UserInterface : public UserInterface {
 public:
  explicit Win32UserInterface(double minimumPassSeconds = kDefaultMinimumPassSeconds)
      : minimumPassSeconds_(minimumPassSeconds) {}

  // Message boxes are owned by this window; DoEvents lets it repaint.
  void SetMainWindow(FormWindow* window) { main_ = window; }

  void DoEvents() override;
  void DoEventsPaced() override;
  int ShowMessage(const std::string& text, const std::string& title, int style) override;
  bool GetCursorPos(Point& point) override;

  // Runs the message loop until the main window is gone; returns the exit code.
  int RunMessageLoop();

 protected:
  // One real pass: repaints what changed and handles what is queued.
  virtual void RunPass();

 private:
  void Dispatch(MSG& message);

  FormWindow* main_ = nullptr;
  const double minimumPassSeconds_;
  LARGE_INTEGER lastPass_{};
};

}  // namespace orvane::win32
