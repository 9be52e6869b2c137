#include "platform/win32/win32_user_interface.h"

#include "platform/win32/form_window.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

void Win32UserInterface::Dispatch(MSG& message) {
  // The window's own keys (Tab, Enter and the space bar on its buttons)
  // before the controls see them.
  if (main_ && main_->TranslateKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32UserInterface::DoEvents() {
  if (main_) main_->FlushRepaint();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit for the main loop, which ends the program with it.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
}

void Win32UserInterface::Pause(double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    DoEvents();
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

int Win32UserInterface::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

int Win32UserInterface::ShowMessage(const std::string& text, const std::string& title, int style) {
  HWND owner = main_ ? main_->Handle() : nullptr;
  return MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
                     static_cast<UINT>(style) | MB_OK);
}

// In the form's 100 % pixels, as the grips measure the mouse's travel.
bool Win32UserInterface::GetCursorPos(Point& point) {
  POINT position{};
  const bool ok = ::GetCursorPos(&position) != FALSE;
  point = main_ ? main_->DesignPoint(position) : Point{position.x, position.y};
  return ok;
}

}  // namespace orvane::win32
