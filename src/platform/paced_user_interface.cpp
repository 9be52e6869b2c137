#include "platform/paced_user_interface.h"

namespace orvane {

void PacedUserInterface::DoEvents() {
  passes_.DoEvents();
  passed_ = true;
  lastPass_ = clock_();
}

void PacedUserInterface::DoEventsPaced() {
  if (passed_ && clock_() - lastPass_ < minimumPassSeconds_) return;
  DoEvents();
}

}  // namespace orvane
