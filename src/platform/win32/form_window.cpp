#include "platform/win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/win32/picture_button.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

constexpr UINT_PTR kRepaintTimer = 1;
// About 30 repaints a second at most. Under Wine a frame (timer, invalidation,
// paint and hand-over to X) costs 1 to 2 ms, so at 60 a second repainting
// alone took a 256 MiB download 6 to 11 % longer; at 30 it takes half that,
// and a progress caption and bar look no less smooth.
constexpr ULONGLONG kFrameMilliseconds = 33;

COLORREF Resolve(Color color) {
  switch (color.source) {
    case ColorSource::SystemWindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
    case ColorSource::SystemHighlight:
      return GetSysColor(COLOR_HIGHLIGHT);
    case ColorSource::Fixed:
      break;
  }
  return RGB(color.red, color.green, color.blue);
}

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

int DpiX() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

int DpiY() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

RECT ToRect(const Rect& rect) {
  return {rect.left, rect.top, rect.left + rect.width, rect.top + rect.height};
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

FormWindow::FormWindow(HINSTANCE instance, PictureLibrary& pictures)
    : instance_(instance),
      pictures_(pictures),
      editBackground_(CreateSolidBrush(RGB(255, 255, 255))) {}

FormWindow::~FormWindow() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool FormWindow::Create(FrmMain& form, int width, int height) {
  form_ = &form;
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
    HWND child = nullptr;
    if (control.Kind() == ControlKind::TextBox) {
      child = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Widen(control.Caption()).c_str(),
                              style | WS_TABSTOP | ES_AUTOHSCROLL, r.left, r.top, r.width, r.height,
                              window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                              instance_, nullptr);
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.GetFont())), FALSE);
      // The form hears of double-clicks on its text boxes too.
      SetWindowSubclass(child, TextBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    } else {
      child = CreateWindowExW(0, kPictureButtonClass, L"", style, r.left, r.top, r.width, r.height,
                              window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                              instance_, nullptr);
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
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

LRESULT CALLBACK FormWindow::TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) {
  // The edit control selects the word first, as it always does.
  const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
  if (message == WM_LBUTTONDBLCLK) {
    auto* window = reinterpret_cast<FormWindow*>(self);
    if (const Control* control = window->ControlForChild(box)) window->form_->DblClick(*control);
  }
  return result;
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
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
      if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT && OnSetCursor())
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
      if (reinterpret_cast<HWND>(lParam) != window_) pressed_ = nullptr;
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const Control* control = ControlForChild(reinterpret_cast<HWND>(lParam));
      SetTextColor(dc, control ? Resolve(control->ForeColor()) : RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(editBackground_.get());
    }
    case WM_TIMER:
      if (wParam == kRepaintTimer) {
        KillTimer(window_, kRepaintTimer);
        repaintTimerSet_ = false;
        FlushRepaint();
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void FormWindow::PaintWindowless(HDC dc, const RECT& area) {
  Brush background(CreateSolidBrush(Resolve(backColor_)));
  FillRect(dc, &area, background.get());
  SetBkMode(dc, TRANSPARENT);

  const auto& controls = form_->Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {  // back to front
    const Control& control = *it;
    if (control.Windowed() || !control.Visible()) continue;
    const Rect& r = control.Bounds();
    const RECT bounds = ToRect(r);
    RECT overlap;
    if (!IntersectRect(&overlap, &bounds, &area)) continue;
    switch (control.Kind()) {
      case ControlKind::Image:
        if (const Picture* picture = pictures_.Get(control.Picture())) {
          if (control.Stretch())
            picture->Draw(dc, r.left, r.top, r.width, r.height);
          else
            picture->Draw(dc, r.left, r.top, picture->Width(), picture->Height());
        }
        break;
      case ControlKind::Shape: {
        Brush fill(CreateSolidBrush(Resolve(control.FillColor())));
        FillRect(dc, &bounds, fill.get());
        break;
      }
      case ControlKind::Label: {
        SelectedObject font(dc, FontFor(control.GetFont()));
        SetTextColor(dc, Resolve(control.ForeColor()));
        RECT textArea = bounds;
        std::wstring text = Widen(control.Caption());
        // Without DT_NOPREFIX "&&" shows as one ampersand, as labels do.
        const UINT align = control.Align() == TextAlign::Center ? DT_CENTER : DT_LEFT;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea, align | DT_WORDBREAK);
        break;
      }
      case ControlKind::PictureButton:
      case ControlKind::TextBox:
        break;
    }
  }
}

// Only the invalid area is composed, in a buffer of its size whose origin
// is moved to the area's corner: a progress update repaints the caption and
// the bar, not the whole skin, which costs a download some 1.4 ms a frame.
void FormWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  const RECT& area = paint.rcPaint;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width > 0 && height > 0) {
    MemoryDc buffer(CreateCompatibleDC(dc));
    Bitmap surface(CreateCompatibleBitmap(dc, width, height));
    SelectedObject selected(buffer.get(), surface.get());
    SetViewportOrgEx(buffer.get(), -area.left, -area.top, nullptr);
    PaintWindowless(buffer.get(), area);
    BitBlt(dc, area.left, area.top, width, height, buffer.get(), area.left, area.top, SRCCOPY);
  }
  EndPaint(window_, &paint);
  lastRepaint_ = GetTickCount64();
}

bool FormWindow::OnSetCursor() {
  POINT point;
  GetCursorPos(&point);
  ScreenToClient(window_, &point);
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
  SetCapture(window_);
  form_->MouseDown(*control, EventAt(button, keys, *control, position));
}

void FormWindow::OnMouseUp(MouseButton button, WPARAM keys, LPARAM position) {
  constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
  if (inMoveLoop_) {
    // A caption move started by a title press ends only on a left release
    // (or Enter); one started with another button ends with that button's.
    if (!(keys & kAnyButton)) PostMessageW(window_, WM_KEYDOWN, VK_RETURN, 0);
    return;
  }
  const Control* control = pressed_;
  // No press of ours: the caption move took it, or it began outside.
  if (!control) return;
  if (!(keys & kAnyButton)) {
    pressed_ = nullptr;
    if (GetCapture() == window_) ::ReleaseCapture();
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
  SetCapture(window_);
  form_->DblClick(*control);
}

void FormWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  const Control* control = ControlForChild(reinterpret_cast<HWND>(lParam));
  if (!control) return;
  const WORD code = HIWORD(wParam);
  if (control->Kind() == ControlKind::PictureButton && code == BN_CLICKED) {
    form_->Click(*control);
  } else if (control->Kind() == ControlKind::TextBox && code == EN_CHANGE && !settingText_) {
    HWND edit = reinterpret_cast<HWND>(lParam);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    form_->TextTyped(const_cast<Control&>(*control), Narrow(text));
  }
}

HFONT FormWindow::FontFor(const Font& font) {
  const int height = -static_cast<int>(std::lround(font.points * DpiY() / 72.0));
  auto key = std::make_tuple(Widen(font.face), height, font.bold);
  auto found = fonts_.find(key);
  if (found == fonts_.end()) {
    HFONT created =
        CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_SWISS, std::get<0>(key).c_str());
    found = fonts_.emplace(std::move(key), FontHandle(created)).first;
  }
  return found->second.get();
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

void FormWindow::Invalidate(const Rect& rect) {
  if (rect.width <= 0 || rect.height <= 0) return;
  RECT area = ToRect(rect);
  if (IsRectEmpty(&pendingRepaint_))
    pendingRepaint_ = area;
  else
    UnionRect(&pendingRepaint_, &pendingRepaint_, &area);
  FlushRepaint();
}

void FormWindow::FlushRepaint() {
  if (!window_ || IsRectEmpty(&pendingRepaint_)) return;
  const ULONGLONG now = GetTickCount64();
  if (now - lastRepaint_ < kFrameMilliseconds) {
    // Too soon after the last repaint: the timer hands the changes over
    // when the frame is up, so the last update is always shown.
    if (!repaintTimerSet_) {
      SetTimer(window_, kRepaintTimer, static_cast<UINT>(kFrameMilliseconds - (now - lastRepaint_)),
               nullptr);
      repaintTimerSet_ = true;
    }
    return;
  }
  InvalidateRect(window_, &pendingRepaint_, FALSE);
  SetRectEmpty(&pendingRepaint_);
  lastRepaint_ = now;
}

void FormWindow::ControlChanged(const Control& control, const Rect& previousRect) {
  if (!window_) return;
  if (HWND child = ChildFor(control)) {
    const Rect& r = control.Bounds();
    ::SetWindowPos(
        child, nullptr, r.left, r.top, r.width, r.height,
        SWP_NOZORDER | SWP_NOACTIVATE | (control.Visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (control.Kind() == ControlKind::TextBox) {
      std::wstring text = Widen(control.Caption());
      std::wstring shown(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
      shown.resize(static_cast<std::size_t>(
          GetWindowTextW(child, shown.data(), static_cast<int>(shown.size()))));
      // The model raised the change already; the box's echo of it is no news.
      if (shown != text) {
        settingText_ = true;
        SetWindowTextW(child, text.c_str());
        settingText_ = false;
      }
    } else {
      SetButtonPicture(child, pictures_.Get(control.Picture()));
    }
    return;
  }
  Invalidate(previousRect);
  Invalidate(control.Bounds());
}

void FormWindow::SetCaption(const std::string& caption) {
  if (window_) SetWindowTextW(window_, Widen(caption).c_str());
}

void FormWindow::SetBackColor(Color color) {
  if (color == backColor_) return;
  backColor_ = color;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void FormWindow::SetFocus(const Control& control) {
  if (HWND child = ChildFor(control)) ::SetFocus(child);
}

double FormWindow::TwipsPerPixelX() const {
  return 1440.0 / DpiX();
}
double FormWindow::TwipsPerPixelY() const {
  return 1440.0 / DpiY();
}

TwipsRect FormWindow::Placement() const {
  RECT r{};
  GetWindowRect(window_, &r);
  const double x = TwipsPerPixelX();
  const double y = TwipsPerPixelY();
  return {static_cast<float>(r.left * x), static_cast<float>(r.top * y),
          static_cast<float>((r.right - r.left) * x), static_cast<float>((r.bottom - r.top) * y)};
}

void FormWindow::MoveTo(const TwipsRect& placement) {
  // A maximised or minimised form can't be moved or sized: its state sizes it.
  if (IsZoomed(window_) || IsIconic(window_)) return;
  const double x = TwipsPerPixelX();
  const double y = TwipsPerPixelY();
  MoveWindow(window_, static_cast<int>(std::lround(placement.left / x)),
             static_cast<int>(std::lround(placement.top / y)),
             static_cast<int>(std::lround(placement.width / x)),
             static_cast<int>(std::lround(placement.height / y)), TRUE);
}

WindowState FormWindow::State() const {
  if (IsZoomed(window_)) return WindowState::Maximized;
  if (IsIconic(window_)) return WindowState::Minimized;
  return WindowState::Normal;
}

void FormWindow::SetState(WindowState state) {
  const int command = state == WindowState::Maximized   ? SW_MAXIMIZE
                      : state == WindowState::Minimized ? SW_MINIMIZE
                                                        : SW_RESTORE;
  ShowWindow(window_, command);
}

void FormWindow::SetRoundRegion(int left, int top, int right, int bottom, int ellipseWidth,
                                int ellipseHeight) {
  Region region(CreateRoundRectRgn(left, top, right, bottom, ellipseWidth, ellipseHeight));
  // Once SetWindowRgn accepts it the region belongs to the window.
  if (SetWindowRgn(window_, region.get(), TRUE)) region.release();
}

void FormWindow::SetWindowPos(InsertAfter insertAfter, int x, int y, int width, int height,
                              std::uint32_t flags) {
  ::SetWindowPos(window_, reinterpret_cast<HWND>(static_cast<INT_PTR>(insertAfter)), x, y, width,
                 height, flags);
}

void FormWindow::ReleaseCapture() {
  ::ReleaseCapture();
}

std::intptr_t FormWindow::SendMessageA(std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  return ::SendMessageA(window_, message, wParam, lParam);
}

void FormWindow::Unload() {
  if (!window_) return;
  // The window goes without a WM_QUIT: whoever unloads ends the process next.
  HWND window = std::exchange(window_, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

}  // namespace orvane::win32
