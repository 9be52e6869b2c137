// What the form asks of its window: following the controls, caption,
// colour and focus, and the window's place, state, outline and band.
#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/picture_button.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

void FormWindow::ControlChanged(const Control& control, const Rect& previousRect) {
  if (!window_) return;
  if (HWND child = ChildFor(control)) {
    const Rect& r = control.Bounds();
    ::SetWindowPos(
        child, nullptr, r.left, r.top, r.width, r.height,
        SWP_NOZORDER | SWP_NOACTIVATE | (control.Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    // Keys never reach a hidden box: the window takes the focus it had.
    if (!control.Visible() && GetFocus() == child) ::SetFocus(window_.get());
    if (control.Kind() == ControlKind::TextBox) {
      SendMessageW(child, EM_SETREADONLY, control.Locked(), 0);
      const std::wstring text = Widen(control.Caption());
      // The model raised the change already; the box's echo of it is no news.
      if (WindowText(child) != text) {
        settingText_ = true;
        SetWindowTextW(child, text.c_str());
        settingText_ = false;
      }
    } else {
      SetButtonPicture(child, pictures_.Get(control.Picture()));
    }
    return;
  }
  pacer_.Invalidate(previousRect, GetTickCount64());
  pacer_.Invalidate(control.Bounds(), GetTickCount64());
}

void FormWindow::SetCaption(const std::string& caption) {
  if (window_) SetWindowTextW(window_.get(), Widen(caption).c_str());
}

void FormWindow::SetBackColor(Color color) {
  if (color == backColor_) return;
  backColor_ = color;
  if (window_) InvalidateRect(window_.get(), nullptr, FALSE);
}

void FormWindow::SetFocus(const Control& control) {
  if (HWND child = ChildFor(control)) ::SetFocus(child);
}

double FormWindow::TwipsPerPixelX() const {
  return TwipsPerPixel(ScreenDpi(LOGPIXELSX));
}
double FormWindow::TwipsPerPixelY() const {
  return TwipsPerPixel(ScreenDpi(LOGPIXELSY));
}

TwipsRect FormWindow::Placement() const {
  RECT r{};
  GetWindowRect(window_.get(), &r);
  return TwipsOf({r.left, r.top, r.right - r.left, r.bottom - r.top}, TwipsPerPixelX(),
                 TwipsPerPixelY());
}

void FormWindow::MoveTo(const TwipsRect& placement) {
  // A maximised or minimised form can't be moved or sized: its state sizes it.
  if (IsZoomed(window_.get()) || IsIconic(window_.get())) return;
  const Rect r = PixelsOf(placement, TwipsPerPixelX(), TwipsPerPixelY());
  MoveWindow(window_.get(), r.left, r.top, r.width, r.height, TRUE);
}

WindowState FormWindow::State() const {
  if (IsZoomed(window_.get())) return WindowState::Maximized;
  if (IsIconic(window_.get())) return WindowState::Minimized;
  return WindowState::Normal;
}

void FormWindow::SetState(WindowState state) {
  const int command = state == WindowState::Maximized   ? SW_MAXIMIZE
                      : state == WindowState::Minimized ? SW_MINIMIZE
                                                        : SW_RESTORE;
  ShowWindow(window_.get(), command);
}

void FormWindow::SetRoundRegion(int left, int top, int right, int bottom, int ellipseWidth,
                                int ellipseHeight) {
  Region region(CreateRoundRectRgn(left, top, right, bottom, ellipseWidth, ellipseHeight));
  // Once SetWindowRgn accepts it the region belongs to the window.
  if (SetWindowRgn(window_.get(), region.get(), TRUE)) region.release();
}

void FormWindow::SetTopMost(bool topMost) {
  ::SetWindowPos(window_.get(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
}

void FormWindow::BeginCaptionDrag() {
  // The press gave the window the capture; the caption move needs it back.
  ::ReleaseCapture();
  // The system's own caption move: it returns once the button is released.
  ::SendMessageA(window_.get(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

// Whoever unloads ends the process next, and the window goes with it. The
// form hears nothing more from here; the window is not destroyed first,
// which would only make the end wait for the system to take a shown window
// down (two seconds under Wine without a window manager).
void FormWindow::Unload() {
  SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
  window_.release();
}

}  // namespace orvane::win32
