// The seam to the window toolkit's message loop, message boxes and cursor.
#pragma once

#include <string>

#include "platform/geometry.h"

namespace orvane {

inline constexpr int kMsgBoxCritical = 16;
inline constexpr int kMsgBoxInformation = 64;

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Processes the pending window messages once and returns.
  virtual void DoEvents() = 0;
  // DoEvents for a loop that calls it often (the download, after every
  // block): a pacing layer may return at once when the last pass was moments
  // ago; without one it is a plain pass.
  virtual void DoEventsPaced() { DoEvents(); }
  // Lets the window's messages run for about this many seconds, each
  // handled as it comes: the download's wait between two attempts.
  virtual void Pause(double seconds) = 0;
  // A modal message box with an OK button, owned by the main window.
  virtual int ShowMessage(const std::string& text, const std::string& title, int style) = 0;
  virtual bool GetCursorPos(Point& point) = 0;
};

}  // namespace orvane
