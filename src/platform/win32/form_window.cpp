#include "platform/win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstdlib>

#include "platform/win32/form_window_helpers.h"
#include "platform/win32/picture_button.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

FormWindow::FormWindow(HINSTANCE instance, PictureLibrary& pictures)
    : instance_(instance),
      pictures_(pictures),
      editBackground_(CreateSolidBrush(RGB(255, 255, 255))) {}

bool FormWindow::Create(Form& form, int width, int height) {
  form_ = &form;
  backColor_ = form.BackColor();
  HCURSOR hand =
      static_cast<HCURSOR>(LoadImageW(instance_, L"HAND", IMAGE_CURSOR, 32, 32, LR_DEFAULTCOLOR));
  if (!RegisterPictureButtonClass(instance_, hand)) return false;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;  // the title takes double-clicks
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance_, L"ORVANE", IMAGE_ICON, 32, 32, 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, L"ORVANE", IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // A popup has no frame or caption of its own: the skin draws them. The
  // system menu and minimise box keep the taskbar's menu working.
  CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClass, L"",
                  WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, left, top, width,
                  height, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  CreateChildren();
  return true;
}

void FormWindow::CreateChildren() {
  HWND previous = HWND_TOP;
  int id = kFirstChildId;
  for (const Control& control : form_->Controls()) {
    const int childId = id++;
    if (!control.Windowed()) continue;
    const Rect& r = control.Bounds();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (control.Visible() ? WS_VISIBLE : 0);
    HMENU menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId));
    HWND child = nullptr;
    if (control.Kind() == ControlKind::TextBox) {
      child = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Widen(control.Caption()).c_str(),
                              style | WS_TABSTOP | ES_AUTOHSCROLL, r.left, r.top, r.width, r.height,
                              window_.get(), menuId, instance_, nullptr);
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.For(control.GetFont())),
                   FALSE);
      // The form hears of double-clicks on its text boxes too.
      SetWindowSubclass(child, TextBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    } else {
      child = CreateWindowExW(0, kPictureButtonClass, L"", style, r.left, r.top, r.width, r.height,
                              window_.get(), menuId, instance_, nullptr);
      SetButtonPicture(child, pictures_.Get(control.Picture()));
    }
    if (!child) continue;
    // Stacking: each child goes behind the one before it.
    ::SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = child;
    children_.emplace(&control, child);
  }
}

void FormWindow::Show() {
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
}

LRESULT CALLBACK FormWindow::TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) noexcept {
  // The edit control selects the word first, as it always does.
  const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
  if (message == WM_LBUTTONDBLCLK) {
    auto* window = reinterpret_cast<FormWindow*>(self);
    if (const Control* control = window->ControlForChild(box)) window->form_->DblClick(*control);
  }
  return result;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_.reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint fills everything from its own buffer
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == window_.get() && LOWORD(lParam) == HTCLIENT &&
          OnSetCursor())
        return TRUE;
      break;
    case WM_LBUTTONDOWN:
      OnMouseDown(MouseButton::Left, wParam, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      OnMouseDown(MouseButton::Right, wParam, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      OnMouseDown(MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnMouseUp(MouseButton::Left, wParam, lParam);
      return 0;
    case WM_RBUTTONUP:
      OnMouseUp(MouseButton::Right, wParam, lParam);
      return 0;
    case WM_MBUTTONUP:
      OnMouseUp(MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(lParam);
      return 0;
    // Only the left button double-clicks; a quick second press of another is a press.
    case WM_RBUTTONDBLCLK:
      OnMouseDown(MouseButton::Right, wParam, lParam);
      return 0;
    case WM_MBUTTONDBLCLK:
      OnMouseDown(MouseButton::Middle, wParam, lParam);
      return 0;
    case WM_ENTERSIZEMOVE:
      inMoveLoop_ = true;
      break;
    case WM_EXITSIZEMOVE:
      inMoveLoop_ = false;
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_.get()) pressed_ = nullptr;
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const Control* control = ControlForChild(reinterpret_cast<HWND>(lParam));
      SetTextColor(dc, control ? ColorRefOf(control->ForeColor()) : RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(editBackground_.get());
    }
    case WM_TIMER:
      if (wParam == kRepaintTimer) OnRepaintTimer();
      return 0;
    case WM_CLOSE:
      form_->CloseRequested();
      return 0;
    case WM_ENDSESSION:
      if (wParam) form_->CloseRequested();
      return 0;
    case WM_SYSCOMMAND: {
      const WPARAM command = wParam & 0xFFF0;
      if (command == SC_MAXIMIZE && form_->StateRequested(WindowState::Maximized)) return 0;
      if (command == SC_RESTORE && form_->StateRequested(WindowState::Normal)) return 0;
      break;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_.get(), message, wParam, lParam);
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  HWND child = reinterpret_cast<HWND>(lParam);
  const Control* control = ControlForChild(child);
  if (!control) return;
  const WORD code = HIWORD(wParam);
  if (control->Kind() == ControlKind::PictureButton && code == BN_CLICKED) {
    if (!IsSecondHalfOfDoubleClick()) form_->Click(*control);
  } else if (control->Kind() == ControlKind::TextBox && code == EN_CHANGE && !settingText_) {
    form_->TextTyped(const_cast<Control&>(*control), Narrow(WindowText(child)));
  }
}

// A double-click on a picture button is one click, even when the first
// click put another button in its place (Stop takes Install's, OK takes
// Upgrade's): a click that comes within the double-click time and distance
// of the previous one is its second half. Times and places are the
// releases', which these clicks are sent from.
bool FormWindow::IsSecondHalfOfDoubleClick() {
  const LONG time = GetMessageTime();
  const DWORD position = GetMessagePos();
  const POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  const bool second =
      clickedBefore_ && static_cast<DWORD>(time - lastClickTime_) <= GetDoubleClickTime() &&
      std::abs(point.x - lastClickPoint_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
      std::abs(point.y - lastClickPoint_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  clickedBefore_ = !second;  // a third click starts afresh
  lastClickTime_ = time;
  lastClickPoint_ = point;
  return second;
}

const Control* FormWindow::ControlForChild(HWND child) const {
  for (const auto& [control, window] : children_) {
    if (window == child) return control;
  }
  return nullptr;
}

HWND FormWindow::ChildFor(const Control& control) const {
  auto found = children_.find(&control);
  return found == children_.end() ? nullptr : found->second;
}

}  // namespace orvane::win32
