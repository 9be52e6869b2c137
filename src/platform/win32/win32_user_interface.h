// The message loop, message boxes and the cursor on user32.
#pragma once

#include <windows.h>

#include "platform/user_interface.h"

namespace orvane::win32 {

class FormWindow;

class Win32UserInterface : public UserInterface {
 public:
  // Message boxes are owned by this window; DoEvents lets it repaint.
  void SetMainWindow(FormWindow* window) { main_ = window; }

  // One real pass every time: repaints what changed and handles what is
  // queued. The program's calls are paced before they come here.
  void DoEvents() override;
  // Sleeps until a message comes or the time is up, so a click is handled
  // at once and nothing spins meanwhile.
  void Pause(double seconds) override;
  int ShowMessage(const std::string& text, const std::string& title, int style) override;
  bool GetCursorPos(Point& point) override;

  // Runs the message loop until the main window is gone; returns the exit code.
  int RunMessageLoop();

 private:
  void Dispatch(MSG& message);

  FormWindow* main_ = nullptr;
};

}  // namespace orvane::win32
