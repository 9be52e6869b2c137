#include "platform/paced_user_interface.h"

namespace orvane {

void PacedUserInterface::DoEvents() {
  if (passed_ && clock_() - lastPass_ < minimumPassSeconds_) return;
  passes_.DoEvents();
  passed_ = true;
  lastPass_ = clock_();
}

}  // namespace orvane
