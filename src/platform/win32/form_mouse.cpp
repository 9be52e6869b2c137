// Mouse routing for the windowless controls: the pointer over them, and
// presses, releases, clicks and double-clicks delivered to the one under
// the mouse (or to the one that got the press, until it is released).
#include <windowsx.h>

#include "platform/win32/form_window.h"

namespace orvane::win32 {

namespace {

LPCWSTR CursorFor(MousePointer pointer) {
  switch (pointer) {
    case MousePointer::SizeWestEast:
      return IDC_SIZEWE;
    case MousePointer::SizeNorthSouth:
      return IDC_SIZENS;
    case MousePointer::SizeNorthWestSouthEast:
      return IDC_SIZENWSE;
    case MousePointer::SizeNorthEastSouthWest:
      return IDC_SIZENESW;
    case MousePointer::Hand:
    case MousePointer::Default:
      break;
  }
  return IDC_ARROW;
}

MouseEvent EventAt(MouseButton button, WPARAM keys, const Control& control, LPARAM position) {
  MouseEvent event;
  event.button = button;
  event.shift = ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
  event.x = GET_X_LPARAM(position) - control.Left();
  event.y = GET_Y_LPARAM(position) - control.Top();
  return event;
}

}  // namespace

bool FormWindow::OnSetCursor() {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(window_.get(), &point);
  const Control* control = form_->HitTest(point.x, point.y);
  if (!control) return false;
  SetCursor(LoadCursorW(nullptr, CursorFor(control->Pointer())));
  return true;
}

void FormWindow::OnMouseDown(MouseButton button, WPARAM keys, LPARAM position) {
  if (inMoveLoop_) return;  // the caption move owns the mouse until it ends
  // While a button is held on a control, the other buttons' presses go to it too.
  const Control* control =
      pressed_ ? pressed_ : form_->HitTest(GET_X_LPARAM(position), GET_Y_LPARAM(position));
  if (!control) return;
  // The release goes to the control that got the press, wherever it happens.
  pressed_ = control;
  releaseClicks_ = true;
  SetCapture(window_.get());
  form_->MouseDown(*control, EventAt(button, keys, *control, position));
}

void FormWindow::OnMouseUp(MouseButton button, WPARAM keys, LPARAM position) {
  constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
  if (inMoveLoop_) {
    // A caption move started by a title press ends only on a left release
    // (or Enter); one started with another button ends with that button's.
    if (!(keys & kAnyButton)) PostMessageW(window_.get(), WM_KEYDOWN, VK_RETURN, 0);
    return;
  }
  const Control* control = pressed_;
  // No press of ours: the caption move took it, or it began outside.
  if (!control) return;
  if (!(keys & kAnyButton)) {
    pressed_ = nullptr;
    if (GetCapture() == window_.get()) ::ReleaseCapture();
  }
  form_->MouseUp(*control, EventAt(button, keys, *control, position));
  // A left release over the pressed control clicks it, except the release
  // that ends a double-click: that one already raised DblClick.
  if (button == MouseButton::Left && releaseClicks_ &&
      form_->HitTest(GET_X_LPARAM(position), GET_Y_LPARAM(position)) == control)
    form_->Click(*control);
}

void FormWindow::OnDoubleClick(LPARAM position) {
  const Control* control = form_->HitTest(GET_X_LPARAM(position), GET_Y_LPARAM(position));
  if (!control) return;
  // The second press of a double-click raises DblClick instead of MouseDown,
  // so it never starts a second caption move.
  pressed_ = control;
  releaseClicks_ = false;
  SetCapture(window_.get());
  form_->DblClick(*control);
}

}  // namespace orvane::win32
