// Painting the windowless controls, back to front, through an off-screen
// buffer; every paint, the system's and the pacing's, comes through Repaint,
// in the form's 100 % pixels, and is drawn at the window's scale.
#include <algorithm>

#include "platform/form_painter.h"
#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

// GDI drawing on the off-screen buffer, at the window's scale: a picture
// fills its box scaled, at its own pixels when it was drawn for this scale.
class GdiCanvas : public Canvas {
 public:
  GdiCanvas(HDC dc, const DpiScale& scale, PictureLibrary& pictures, FontCache& fonts)
      : dc_(dc), scale_(scale), pictures_(pictures), fonts_(fonts) {
    SetBkMode(dc, TRANSPARENT);
  }
  void Fill(const Rect& area, Color color) override {
    Brush brush(CreateSolidBrush(ColorRefOf(color)));
    const RECT r = scale_.Pixels(area);
    FillRect(dc_, &r, brush.get());
  }
  void DrawPicture(const std::string& name, const Rect& box, bool stretch) override {
    const Picture* picture = pictures_.Get(name, scale_.ArtPercent());
    if (!picture) return;
    const RECT r = scale_.Pixels(
        stretch ? box : Rect{box.left, box.top, picture->DesignWidth(), picture->DesignHeight()});
    picture->Draw(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  void WriteText(const std::string& text, const Rect& box, const Font& font, Color color,
                 TextAlign align) override {
    SelectedObject selected(dc_, fonts_.For(font, scale_));
    SetTextColor(dc_, ColorRefOf(color));
    RECT area = scale_.Pixels(box);
    const std::wstring wide = Widen(text);
    // Without DT_NOPREFIX "&&" shows as one ampersand.
    const UINT alignment = align == TextAlign::Center ? DT_CENTER : DT_LEFT;
    DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &area, alignment | DT_WORDBREAK);
  }

 private:
  HDC dc_;
  const DpiScale& scale_;
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
  repaints_.Repaint(scale_.DesignCovering(paint.rcPaint));
  paintDc_ = nullptr;
  EndPaint(window_.get(), &paint);
  pacer_.Painted(GetTickCount64());
}

void FormWindow::PaintArea(HDC dc, const Rect& designArea) {
  const RECT area = scale_.Pixels(designArea);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (HDC buffer = width > 0 && height > 0 ? BufferFor(dc, width, height) : nullptr) {
    SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
    GdiCanvas canvas(buffer, scale_, pictures_, fonts_);
    PaintForm(*form_, designArea, canvas);
    BitBlt(dc, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
  }
}

bool FormWindow::Shown() const {
  return IsWindowVisible(window_.get()) != FALSE;
}

void FormWindow::Repaint(const Rect& area) {
  ShowLabelTexts();
  if (paintDc_) return PaintArea(paintDc_, area);
  // Drawn at once rather than invalidated: a paint message would cost some
  // more round trips to the window server for every frame.
  WindowDc dc(window_.get());
  PaintArea(dc.get(), area);
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
