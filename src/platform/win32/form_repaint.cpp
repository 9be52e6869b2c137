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
    // Too soon after the last repaint: the timer hands the changes over
    // when the frame is up, so the last update is always shown.
    if (!repaintTimerSet_) {
      SetTimer(window_.get(), kRepaintTimer,
               static_cast<UINT>(kFrameMilliseconds - (now - lastRepaint_)), nullptr);
      repaintTimerSet_ = true;
    }
    return;
  }
  InvalidateRect(window_.get(), &pendingRepaint_, FALSE);
  SetRectEmpty(&pendingRepaint_);
  lastRepaint_ = now;
}

void FormWindow::OnRepaintTimer() {
  KillTimer(window_.get(), kRepaintTimer);
  repaintTimerSet_ = false;
  FlushRepaint();
}

}  // namespace orvane::win32
