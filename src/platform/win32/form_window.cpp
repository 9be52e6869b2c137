#include "platform/win32/form_window.h"

#include <commctrl.h>

#include "platform/decorators.h"
#include "platform/win32/form_window_helpers.h"
#include "platform/win32/picture_button.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

FormWindow::FormWindow(HINSTANCE instance, PictureLibrary& pictures,
                       const std::function<RepaintPort&(RepaintPort&)>& decorateRepaints)
    : instance_(instance),
      pictures_(pictures),
      editBackground_(CreateSolidBrush(RGB(255, 255, 255))),
      repaints_(Decorated(decorateRepaints, static_cast<RepaintPort&>(*this))),
      pacer_(repaints_) {}

bool FormWindow::Create(Form& form, int width, int height) {
  form_ = &form;
  mouse_.emplace(form, static_cast<MouseCapture&>(*this));
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
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    // Only the left button double-clicks; a quick second press of another is a press.
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      mouse_->ButtonDown(MouseInputOf(message, wParam, lParam));
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      mouse_->ButtonUp(MouseInputOf(message, wParam, lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      mouse_->DoubleClick(MouseInputOf(message, wParam, lParam));
      return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      mouse_->SetMoveLoop(message == WM_ENTERSIZEMOVE);
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_.get()) mouse_->CaptureLost();
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    // A read-only text box asks with the static control's message.
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (LRESULT brush = OnControlColor(message, reinterpret_cast<HDC>(wParam),
                                         reinterpret_cast<HWND>(lParam)))
        return brush;
      break;
    case WM_TIMER:
      if (wParam == kRepaintTimer) pacer_.TimerTick(GetTickCount64());
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
    OnButtonClicked(*control);
  } else if (control->Kind() == ControlKind::TextBox && code == EN_CHANGE && !settingText_) {
    form_->TextTyped(const_cast<Control&>(*control), Narrow(WindowText(child)));
  }
}

// The text boxes show navy on white, typed into or read-only; any other
// child (none so far) keeps the system's colours.
LRESULT FormWindow::OnControlColor(UINT message, HDC dc, HWND child) {
  const Control* control = ControlForChild(child);
  if (message == WM_CTLCOLORSTATIC && (!control || control->Kind() != ControlKind::TextBox))
    return 0;
  SetTextColor(dc, control ? ColorRefOf(control->ForeColor()) : RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(editBackground_.get());
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
