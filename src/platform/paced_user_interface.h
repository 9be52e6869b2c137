// A message loop whose frequent passes are paced: a paced pass that follows
// the previous pass within the minimum time returns at once; a plain pass
// always runs. Message boxes and the cursor go straight through.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "platform/user_interface.h"

namespace orvane {

// Under Wine every look at the queue is a round trip to the window server,
// so a pass that follows the previous one within this time returns at once;
// the window still repaints and answers a click within a few milliseconds.
inline constexpr double kDefaultMinimumPassSeconds = 0.008;

// Seconds on the system's monotonic clock, the performance counter on Windows.
inline double SteadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class PacedUserInterface : public UserInterface {
 public:
  // clock: seconds since any fixed moment, read before and after each pass.
  PacedUserInterface(UserInterface& passes, std::function<double()> clock,
                     double minimumPassSeconds)
      : passes_(passes), clock_(std::move(clock)), minimumPassSeconds_(minimumPassSeconds) {}

  void DoEvents() override;
  void DoEventsPaced() override;
  void Pause(double seconds) override { passes_.Pause(seconds); }
  int ShowMessage(const std::string& text, const std::string& title, int style) override {
    return passes_.ShowMessage(text, title, style);
  }
  bool GetCursorPos(Point& point) override { return passes_.GetCursorPos(point); }

 private:
  UserInterface& passes_;
  const std::function<double()> clock_;
  const double minimumPassSeconds_;
  bool passed_ = false;
  double lastPass_ = 0;  // when the last pass ended
};

}  // namespace orvane
