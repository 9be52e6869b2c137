// Painting the windowless controls, back to front, through an off-screen
// buffer; every paint, the system's and the pacing's, comes through Repaint.
#include <algorithm>

#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

void FormWindow::PaintWindowless(HDC dc, const RECT& area) {
  Brush background(CreateSolidBrush(ColorRefOf(backColor_)));
  FillRect(dc, &area, background.get());
  SetBkMode(dc, TRANSPARENT);

  const auto& controls = form_->Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {  // back to front
    const Control& control = *it;
    if (control.Windowed() || !control.Visible()) continue;
    const Rect& r = control.Bounds();
    const RECT bounds = ToRect(r);
    RECT overlap;
    if (!IntersectRect(&overlap, &bounds, &area)) continue;
    switch (control.Kind()) {
      case ControlKind::Image:
        if (const Picture* picture = pictures_.Get(control.Picture())) {
          if (control.Stretch())
            picture->Draw(dc, r.left, r.top, r.width, r.height);
          else
            picture->Draw(dc, r.left, r.top, picture->Width(), picture->Height());
        }
        break;
      case ControlKind::Shape: {
        Brush fill(CreateSolidBrush(ColorRefOf(control.FillColor())));
        FillRect(dc, &bounds, fill.get());
        break;
      }
      case ControlKind::Label: {
        SelectedObject font(dc, fonts_.For(control.GetFont()));
        SetTextColor(dc, ColorRefOf(control.ForeColor()));
        RECT textArea = bounds;
        std::wstring text = Widen(control.Caption());
        // Without DT_NOPREFIX "&&" shows as one ampersand, as labels do.
        const UINT align = control.Align() == TextAlign::Center ? DT_CENTER : DT_LEFT;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea, align | DT_WORDBREAK);
        break;
      }
      case ControlKind::PictureButton:
      case ControlKind::TextBox:
        break;
    }
  }
}

HDC FormWindow::BufferFor(HDC screen, int width, int height) {
  if (buffer_ && width <= bufferSize_.cx && height <= bufferSize_.cy) return buffer_.get();
  const SIZE size{std::max<LONG>(width, bufferSize_.cx), std::max<LONG>(height, bufferSize_.cy)};
  buffer_.reset();  // lets go of the old surface
  bufferSurface_.reset(CreateCompatibleBitmap(screen, size.cx, size.cy));
  buffer_.reset(CreateCompatibleDC(screen));
  if (!buffer_ || !bufferSurface_) {
    buffer_.reset();
    return nullptr;
  }
  SelectObject(buffer_.get(), bufferSurface_.get());
  bufferSize_ = size;
  return buffer_.get();
}

// Only the invalid area is composed, in the buffer with its origin moved to
// the area's corner: a progress update repaints the caption and the bar, not
// the whole skin, which costs a download some 1.4 ms a frame; the buffer
// itself is made once, not at every one of some 30 frames a second.
void FormWindow::OnPaint() {
  PAINTSTRUCT paint;
  paintDc_ = BeginPaint(window_.get(), &paint);
  const RECT& area = paint.rcPaint;
  repaints_.Repaint({area.left, area.top, area.right - area.left, area.bottom - area.top});
  paintDc_ = nullptr;
  EndPaint(window_.get(), &paint);
  pacer_.Painted(GetTickCount64());
}

void FormWindow::PaintArea(HDC dc, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (HDC buffer = width > 0 && height > 0 ? BufferFor(dc, width, height) : nullptr) {
    SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
    PaintWindowless(buffer, area);
    BitBlt(dc, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
  }
}

bool FormWindow::Shown() const {
  return IsWindowVisible(window_.get()) != FALSE;
}

void FormWindow::Repaint(const Rect& area) {
  if (paintDc_) return PaintArea(paintDc_, ToRect(area));
  // Drawn at once rather than invalidated: a paint message would cost some
  // more round trips to the window server for every frame.
  WindowDc dc(window_.get());
  PaintArea(dc.get(), ToRect(area));
}

void FormWindow::SetFrameTimer(std::uint32_t milliseconds) {
  SetTimer(window_.get(), kRepaintTimer, milliseconds, nullptr);
}

void FormWindow::KillFrameTimer() {
  KillTimer(window_.get(), kRepaintTimer);
}

void FormWindow::FlushRepaint() {
  if (window_) pacer_.Flush(GetTickCount64());
}

}  // namespace orvane::win32
