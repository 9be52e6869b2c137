// The window at its monitor's scale: the children, fonts and outline follow
// the scale the window is shown at, and move with it to another monitor.
#include "platform/win32/form_window.h"

namespace orvane::win32 {

void FormWindow::ApplyScale(const DpiScale& scale, const RECT& place) {
  scale_ = scale;
  ::SetWindowPos(window_.get(), nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& [control, child] : children_) {
    PlaceChild(*control, child, SWP_NOZORDER | SWP_NOACTIVATE);
    // The boxes take the new fonts before the old ones go.
    if (control->Kind() == ControlKind::TextBox)
      SendMessageW(child.window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(fonts_.For(control->GetFont(), scale_)), FALSE);
  }
  fonts_.KeepOnly(scale_);
  ApplyRegion();
  RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FormWindow::PlaceChild(const Control& control, const Child& child, UINT flags) const {
  const RECT r = scale_.Pixels(control.Bounds());
  ::SetWindowPos(child.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
  if (child.label) ::SetWindowPos(child.label, nullptr, r.left, r.top, 0, 0, flags);
}

void FormWindow::ApplyRegion() {
  if (!region_) return;
  const RoundRegion& r = *region_;
  Region region(CreateRoundRectRgn(scale_.Pixels(r.left), scale_.Pixels(r.top),
                                   scale_.Pixels(r.right), scale_.Pixels(r.bottom),
                                   scale_.Pixels(r.ellipseWidth), scale_.Pixels(r.ellipseHeight)));
  // Once SetWindowRgn accepts it the region belongs to the window.
  if (SetWindowRgn(window_.get(), region.get(), TRUE)) region.release();
}

}  // namespace orvane::win32
