// Painting the windowless controls, back to front, through an off-screen
// buffer; every paint, the system's and the pacing's, comes through Repaint.
#include <algorithm>

#include "platform/form_painter.h"
#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

// GDI drawing on the off-screen buffer.
class GdiCanvas : public Canvas {
 public:
  GdiCanvas(HDC dc, PictureLibrary& pictures, FontCache& fonts)
      : dc_(dc), pictures_(pictures), fonts_(fonts) {
    SetBkMode(dc, TRANSPARENT);
  }
  void Fill(const Rect& area, Color color) override {
    Brush brush(CreateSolidBrush(ColorRefOf(color)));
    const RECT r = ToRect(area);
    FillRect(dc_, &r, brush.get());
  }
  void DrawPicture(const std::string& name, const Rect& box, bool stretch) override {
    if (const Picture* picture = pictures_.Get(name))
      picture->Draw(dc_, box.left, box.top, stretch ? box.width : picture->Width(),
                    stretch ? box.height : picture->Height());
  }
  void WriteText(const std::string& text, const Rect& box, const Font& font, Color color,
                 TextAlign align) override {
    SelectedObject selected(dc_, fonts_.For(font));
    SetTextColor(dc_, ColorRefOf(color));
    RECT area = ToRect(box);
    const std::wstring wide = Widen(text);
    // Without DT_NOPREFIX "&&" shows as one ampersand.
    const UINT alignment = align == TextAlign::Center ? DT_CENTER : DT_LEFT;
    DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &area, alignment | DT_WORDBREAK);
  }

 private:
  HDC dc_;
  PictureLibrary& pictures_;
  FontCache& fonts_;
};

}  // namespace

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
    GdiCanvas canvas(buffer, pictures_, fonts_);
    PaintForm(*form_, {area.left, area.top, width, height}, canvas);
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
