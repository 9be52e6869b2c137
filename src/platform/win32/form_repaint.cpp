// How often the window repaints: changes are gathered and handed over at
// most once a frame, and always after the last change.
#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"

namespace orvane::win32 {

namespace {

// About 30 repaints a second at most. Under Wine a frame (timer, invalidation,
// paint and hand-over to X) costs 1 to 2 ms, so at 60 a second repainting
// alone took a 256 MiB download 6 to 11 % longer; at 30 it takes half that,
// and a progress caption and bar look no less smooth.
constexpr ULONGLONG kFrameMilliseconds = 33;

}  // namespace

void FormWindow::Invalidate(const Rect& rect) {
  if (rect.width <= 0 || rect.height <= 0) return;
  RECT area = ToRect(rect);
  if (IsRectEmpty(&pendingRepaint_))
    pendingRepaint_ = area;
  else
    UnionRect(&pendingRepaint_, &pendingRepaint_, &area);
  FlushRepaint();
}

void FormWindow::FlushRepaint() {
  if (!window_ || IsRectEmpty(&pendingRepaint_)) return;
  const ULONGLONG now = GetTickCount64();
  if (now - lastRepaint_ < kFrameMilliseconds) {
    // Too soon after the last repaint: a timer that ticks once a frame hands
    // the changes over, so the last update is always shown. It runs on until
    // a tick finds nothing to show, rather than being set and killed at every
    // frame, each a round trip to the window server under Wine.
    if (!repaintTimerSet_) {
      SetTimer(window_.get(), kRepaintTimer, static_cast<UINT>(kFrameMilliseconds), nullptr);
      repaintTimerSet_ = true;
    }
    return;
  }
  // Drawn at once rather than invalidated: a paint message would cost some
  // more round trips to the window server for every frame.
  if (IsWindowVisible(window_.get())) {
    WindowDc dc(window_.get());
    PaintArea(dc.get(), pendingRepaint_);
  }
  SetRectEmpty(&pendingRepaint_);
  lastRepaint_ = now;
}

void FormWindow::OnRepaintTimer() {
  if (IsRectEmpty(&pendingRepaint_)) {
    KillTimer(window_.get(), kRepaintTimer);
    repaintTimerSet_ = false;
    return;
  }
  FlushRepaint();
}

}  // namespace orvane::win32
