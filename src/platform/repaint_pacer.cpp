#include "platform/repaint_pacer.h"

#include <algorithm>

namespace orvane {

namespace {

bool Empty(const Rect& rect) {
  return rect.width <= 0 || rect.height <= 0;
}

Rect Union(const Rect& a, const Rect& b) {
  const int left = std::min(a.left, b.left);
  const int top = std::min(a.top, b.top);
  return {left, top, std::max(a.left + a.width, b.left + b.width) - left,
          std::max(a.top + a.height, b.top + b.height) - top};
}

}  // namespace

void RepaintPacer::Invalidate(const Rect& area, std::uint64_t now) {
  if (Empty(area)) return;
  pending_ = Empty(pending_) ? area : Union(pending_, area);
  Flush(now);
}

void RepaintPacer::Flush(std::uint64_t now) {
  if (Empty(pending_)) return;
  if (now - lastRepaint_ < kFrameMilliseconds) {
    // Too soon after the last repaint: a timer that ticks once a frame hands
    // the changes over, so the last update is always shown. It runs on until
    // a tick finds nothing to show, rather than being set and killed at every
    // frame, each a round trip to the window server under Wine.
    if (!timerSet_) {
      port_.SetFrameTimer(static_cast<std::uint32_t>(kFrameMilliseconds));
      timerSet_ = true;
    }
    return;
  }
  // A hidden window's changes are dropped: showing it paints it whole.
  if (port_.Shown()) port_.Repaint(pending_);
  pending_ = {};
  lastRepaint_ = now;
}

void RepaintPacer::TimerTick(std::uint64_t now) {
  if (Empty(pending_)) {
    port_.KillFrameTimer();
    timerSet_ = false;
    return;
  }
  Flush(now);
}

}  // namespace orvane
