// What the form asks of its window: following the controls, caption,
// colour and focus, and the window's place, state, outline and band.
#include <utility>

#include "platform/win32/form_window.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

void FormWindow::ControlChanged(const Control& control, const Rect& previousRect) {
  if (!window_) return;
  if (auto found = children_.find(&control); found != children_.end()) {
    const Child& child = found->second;
    const bool shownBefore = (GetWindowLongW(child.window, GWL_STYLE) & WS_VISIBLE) != 0;
    PlaceChild(
        control, child,
        SWP_NOZORDER | SWP_NOACTIVATE | (control.Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    // Keys never reach a hidden box: the window takes the focus it had, and
    // once the panel is complete the keyboard goes where it belongs.
    if (!control.Visible() && GetFocus() == child.window) {
      ::SetFocus(window_.get());
      focusLostToHiding_ = true;
    }
    if (shownBefore != control.Visible() && !std::exchange(focusCheckPosted_, true))
      PostMessageW(window_.get(), kFocusCheck, 0, 0);
    if (control.Kind() == ControlKind::TextBox) {
      SendMessageW(child.window, EM_SETREADONLY, control.Locked(), 0);
      const std::wstring text = Widen(control.Caption());
      // The model raised the change already; the box's echo of it is no news.
      if (WindowText(child.window) != text) {
        settingText_ = true;
        SetWindowTextW(child.window, text.c_str());
        settingText_ = false;
      }
    } else {
      const std::wstring words = Widen(control.Caption());
      if (WindowText(child.window) != words) SetWindowTextW(child.window, words.c_str());
      InvalidateRect(child.window, nullptr, FALSE);  // perhaps another picture
    }
    return;
  }
  pacer_.Invalidate(previousRect, GetTickCount64());
  pacer_.Invalidate(control.Bounds(), GetTickCount64());
}

// At each paint rather than each change: the progress caption changes with
// every block, and each new text is a round trip to the window server.
void FormWindow::ShowLabelTexts() const {
  for (const auto& [control, label] : labelTexts_) {
    if (const std::wstring words = Widen(control->Caption()); WindowText(label) != words)
      SetWindowTextW(label, words.c_str());
    if (((GetWindowLongW(label, GWL_STYLE) & WS_VISIBLE) != 0) != control->Visible())
      ShowWindow(label, control->Visible() ? SW_SHOWNA : SW_HIDE);
  }
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
  FocusControl(control);
}

// The form's pixels are 100 % pixels whatever the scale; twips are the
// screen's true measure, so a place in twips is the same at any scale.
double FormWindow::TwipsPerPixelX() const {
  return TwipsPerPixel(DpiScale::kDesignDpi);
}
double FormWindow::TwipsPerPixelY() const {
  return TwipsPerPixel(DpiScale::kDesignDpi);
}

TwipsRect FormWindow::Placement() const {
  RECT r{};
  GetWindowRect(window_.get(), &r);
  const double perPixel = TwipsPerPixel(scale_.Dpi());
  return TwipsOf({r.left, r.top, r.right - r.left, r.bottom - r.top}, perPixel, perPixel);
}

void FormWindow::MoveTo(const TwipsRect& placement) {
  // A maximised or minimised form can't be moved or sized: its state sizes it.
  if (IsZoomed(window_.get()) || IsIconic(window_.get())) return;
  const double perPixel = TwipsPerPixel(scale_.Dpi());
  const Rect r = PixelsOf(placement, perPixel, perPixel);
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
  region_ = RoundRegion{left, top, right, bottom, ellipseWidth, ellipseHeight};
  ApplyRegion();
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
