#include "platform/win32/form_window.h"

#include <commctrl.h>

#include "platform/decorators.h"
#include "platform/win32/dpi_awareness.h"
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
  hand_.reset(
      static_cast<HCURSOR>(LoadImageW(instance_, L"HAND", IMAGE_CURSOR, 32, 32, LR_DEFAULTCOLOR)));

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

  // At the system's scale first; the monitor it lands on may have another.
  scale_ = DpiScale(DpiOf(nullptr));
  auto centred = [width, height](const DpiScale& scale) {
    const int outerWidth = scale.Pixels(width);
    const int outerHeight = scale.Pixels(height);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    return RECT{left, top, left + outerWidth, top + outerHeight};
  };
  const RECT place = centred(scale_);
  // A popup has no frame or caption of its own: the skin draws them. The
  // system menu and minimise box keep the taskbar's menu working.
  CreateWindowExW(WS_EX_APPWINDOW, kMainWindowClass, L"",
                  WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, place.left, place.top,
                  place.right - place.left, place.bottom - place.top, nullptr, nullptr, instance_,
                  this);
  if (!window_) return false;
  CreateChildren();
  if (const DpiScale monitor(DpiOf(window_.get())); !(monitor == scale_))
    ApplyScale(monitor, centred(monitor));
  return true;
}

void FormWindow::CreateChildren() {
  HWND previous = HWND_TOP;
  // Stacking: each child goes behind the one before it.
  auto stack = [&previous](HWND child) {
    ::SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = child;
  };
  int id = kFirstChildId;
  for (const Control& control : form_->Controls()) {
    const int childId = id++;
    const RECT r = scale_.Pixels(control.Bounds());
    const DWORD shown = control.Visible() ? WS_VISIBLE : 0;
    HMENU menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId));
    if (!control.Windowed()) {
      // A drawn label's words are a static text of no size too, for screen readers.
      if (control.Kind() == ControlKind::Label)
        labelTexts_.emplace(
            &control,
            CreateWindowExW(0, L"STATIC", Widen(control.Caption()).c_str(), WS_CHILD | shown,
                            r.left, r.top, 0, 0, window_.get(), menuId, instance_, nullptr));
      continue;
    }
    Child child;
    if (control.Kind() == ControlKind::TextBox) {
      // Screen readers name an edit box by the static text just before it.
      child.label = CreateWindowExW(0, L"STATIC", Widen(control.Label()).c_str(),
                                    WS_CHILD | SS_LEFT | SS_NOPREFIX | shown, r.left, r.top, 0, 0,
                                    window_.get(), nullptr, instance_, nullptr);
      child.window = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Widen(control.Caption()).c_str(),
                                     WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL |
                                         shown | (control.Locked() ? ES_READONLY : 0),
                                     r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     window_.get(), menuId, instance_, nullptr);
      SendMessageW(child.window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(fonts_.For(control.GetFont(), scale_)), FALSE);
      // The form hears of double-clicks on its text boxes too.
      SetWindowSubclass(child.window, TextBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    } else {
      child.window = CreatePictureButton(window_.get(), childId, Widen(control.Caption()), r,
                                         control.Visible(), hand_.get());
    }
    if (!child.window) continue;
    if (child.label) stack(child.label);
    stack(child.window);
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
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ACTIVATE:
      if (OnActivate(wParam)) return 0;
      break;
    case kFocusCheck:
      KeepFocusReachable();
      return 0;
    case WM_DPICHANGED:
      ApplyScale(DpiScale(LOWORD(wParam)), *reinterpret_cast<const RECT*>(lParam));
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

void FormWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const Control* control = ControlForChild(item.hwndItem);
  if (!control) return;
  DrawPictureButton(item, pictures_.Get(control->Picture(), scale_.ArtPercent()), scale_,
                    keyboardCues_ && (item.itemState & ODS_FOCUS));
}

const Control* FormWindow::ControlForChild(HWND child) const {
  if (!child) return nullptr;
  for (const auto& [control, windows] : children_) {
    if (windows.window == child) return control;
  }
  return nullptr;
}

HWND FormWindow::ChildFor(const Control& control) const {
  auto found = children_.find(&control);
  return found == children_.end() ? nullptr : found->second.window;
}

}  // namespace orvane::win32
