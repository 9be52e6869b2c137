#include "platform/win32/picture_button.h"

#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

namespace {

constexpr COLORREF kFrameOuter = RGB(96, 120, 150);
constexpr COLORREF kFrameInner = RGB(240, 244, 248);
constexpr LONG_PTR kPressedInside = 1;

// Per-button state lives in the window itself: the picture in
// GWLP_USERDATA, the press state in the class's extra bytes.
const Picture* PictureOf(HWND button) {
  return reinterpret_cast<const Picture*>(GetWindowLongPtrW(button, GWLP_USERDATA));
}

void Paint(HWND button) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(button, &paint);
  RECT box;
  GetClientRect(button, &box);

  MemoryDc buffer(CreateCompatibleDC(dc));
  Bitmap surface(CreateCompatibleBitmap(dc, box.right, box.bottom));
  {
    SelectedObject selected(buffer.get(), surface.get());
    Brush outer(CreateSolidBrush(kFrameOuter));
    Brush inner(CreateSolidBrush(kFrameInner));
    FillRect(buffer.get(), &box, outer.get());
    RECT face{1, 1, box.right - 1, box.bottom - 1};
    FillRect(buffer.get(), &face, inner.get());
    // The face sinks by a pixel while the mouse holds it down.
    const int shift = GetWindowLongPtrW(button, 0) == kPressedInside ? 1 : 0;
    if (const Picture* picture = PictureOf(button)) {
      // Centred in the box: two pixels of frame around a 112 x 26 face, one
      // around the 32 x 32 folder.
      const int x = (box.right - picture->Width()) / 2 + shift;
      const int y = (box.bottom - picture->Height()) / 2 + shift;
      picture->Draw(buffer.get(), x, y, picture->Width(), picture->Height());
    }
    BitBlt(dc, 0, 0, box.right, box.bottom, buffer.get(), 0, 0, SRCCOPY);
  }
  EndPaint(button, &paint);
}

bool CursorInside(HWND button, LPARAM position) {
  RECT box;
  GetClientRect(button, &box);
  POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  return PtInRect(&box, point) != FALSE;
}

void SetPressed(HWND button, bool pressed) {
  if ((GetWindowLongPtrW(button, 0) == kPressedInside) == pressed) return;
  SetWindowLongPtrW(button, 0, pressed ? kPressedInside : 0);
  InvalidateRect(button, nullptr, FALSE);
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(button);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(button);
      SetPressed(button, true);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == button) SetPressed(button, CursorInside(button, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != button) return 0;
      const bool inside = CursorInside(button, lParam);
      SetPressed(button, false);
      ReleaseCapture();
      // A click counts only when released over the button, as with any button.
      if (inside) {
        const auto id = static_cast<WORD>(GetDlgCtrlID(button));
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      SetPressed(button, false);
      return 0;
    default:
      return DefWindowProcW(button, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterPictureButtonClass(HINSTANCE instance, HCURSOR hand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ButtonProc;
  windowClass.cbWndExtra = sizeof(LONG_PTR);
  windowClass.hInstance = instance;
  windowClass.hCursor = hand ? hand : LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */);
  windowClass.lpszClassName = kPictureButtonClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void SetButtonPicture(HWND button, const Picture* picture) {
  SetWindowLongPtrW(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture));
  InvalidateRect(button, nullptr, FALSE);
}

}  // namespace orvane::win32
