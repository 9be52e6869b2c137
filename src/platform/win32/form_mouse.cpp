// The mouse as Win32 reports it, turned into calls on the portable routing:
// the pointer over the windowless controls, presses and releases, the picture
// buttons' clicks, and the capture that the routing asks for.
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

MouseButton ButtonOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MouseButton::Middle;
    default:
      return MouseButton::Left;
  }
}

}  // namespace

MouseInput FormWindow::MouseInputOf(UINT message, WPARAM keys, LPARAM position) const {
  MouseInput input;
  input.button = ButtonOf(message);
  input.at = {scale_.Design(GET_X_LPARAM(position)), scale_.Design(GET_Y_LPARAM(position))};
  input.shift = ((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
  input.buttonsHeld = (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
  return input;
}

bool FormWindow::OnSetCursor() {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(window_.get(), &point);
  const Control* control = form_->HitTest(scale_.Design(point.x), scale_.Design(point.y));
  if (!control) return false;
  SetCursor(LoadCursorW(nullptr, CursorFor(control->Pointer())));
  return true;
}

// The click is sent from the button's release: its time and place are the
// message's, in device pixels as the double-click area is.
void FormWindow::OnButtonClicked(const Control& button) {
  const DWORD position = GetMessagePos();
  mouse_->ButtonClicked(
      button,
      {static_cast<std::uint32_t>(GetMessageTime()),
       {GET_X_LPARAM(position), GET_Y_LPARAM(position)}},
      {GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK)});
}

void FormWindow::SetCapture() {
  ::SetCapture(window_.get());
}

void FormWindow::ReleaseCapture() {
  if (GetCapture() == window_.get()) ::ReleaseCapture();
}

void FormWindow::EndMoveLoop() {
  PostMessageW(window_.get(), WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace orvane::win32
