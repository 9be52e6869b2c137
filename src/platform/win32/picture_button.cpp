#include "platform/win32/picture_button.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

namespace {

constexpr COLORREF kFrameOuter = RGB(96, 120, 150);
constexpr COLORREF kFrameInner = RGB(240, 244, 248);
// The skin's accent blue, dark enough to stand out on the light faces.
constexpr COLORREF kFocusRing = RGB(24, 75, 134);

// What the system button does differently from the picture button it stands for.
LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR hand) noexcept {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(reinterpret_cast<HCURSOR>(hand));
      return TRUE;
    case WM_ERASEBKGND:
      return 1;  // the drawing covers every pixel
    case WM_LBUTTONDBLCLK:
      // The second press of a double-click is a press like the first, clicking
      // at its release; the form's mouse routing decides what the pair means.
      return DefSubclassProc(button, WM_LBUTTONDOWN, wParam, lParam);
    default:
      return DefSubclassProc(button, message, wParam, lParam);
  }
}

void FillBox(HDC dc, const RECT& box, COLORREF color) {
  Brush brush(CreateSolidBrush(color));
  FillRect(dc, &box, brush.get());
}

// A ring of the given thickness just inside the box.
void Ring(HDC dc, const RECT& box, int thickness, COLORREF color) {
  const RECT sides[] = {{box.left, box.top, box.right, box.top + thickness},
                        {box.left, box.bottom - thickness, box.right, box.bottom},
                        {box.left, box.top, box.left + thickness, box.bottom},
                        {box.right - thickness, box.top, box.right, box.bottom}};
  for (const RECT& side : sides) FillBox(dc, side, color);
}

}  // namespace

HWND CreatePictureButton(HWND parent, int id, const std::wstring& words, const RECT& place,
                         bool visible, HCURSOR hand) {
  const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON | BS_OWNERDRAW |
                      (visible ? WS_VISIBLE : 0);
  HWND button =
      CreateWindowExW(0, L"BUTTON", words.c_str(), style, place.left, place.top,
                      place.right - place.left, place.bottom - place.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (button) SetWindowSubclass(button, ButtonProc, 0, reinterpret_cast<DWORD_PTR>(hand));
  return button;
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, const Picture* picture, const DpiScale& scale,
                       bool showFocus) {
  const RECT& box = item.rcItem;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  MemoryDc buffer(CreateCompatibleDC(item.hDC));
  Bitmap surface(CreateCompatibleBitmap(item.hDC, width, height));
  if (!buffer || !surface) return;
  SelectedObject selected(buffer.get(), surface.get());
  const RECT whole{0, 0, width, height};
  const int line = scale.Pixels(1);
  FillBox(buffer.get(), whole, kFrameOuter);
  FillBox(buffer.get(), {line, line, width - line, height - line}, kFrameInner);
  if (picture) {
    // Centred: two pixels of frame around a 112 x 26 face at 100 %, one
    // around the 32 x 32 folder; it sinks by a pixel while held down.
    const int shift = (item.itemState & ODS_SELECTED) ? line : 0;
    const int pictureWidth = scale.Pixels(picture->DesignWidth());
    const int pictureHeight = scale.Pixels(picture->DesignHeight());
    picture->Draw(buffer.get(), (width - pictureWidth) / 2 + shift,
                  (height - pictureHeight) / 2 + shift, pictureWidth, pictureHeight);
  }
  if (showFocus) {
    const RECT inside{line, line, width - line, height - line};
    Ring(buffer.get(), inside, std::max(2, scale.Pixels(2)), kFocusRing);
  }
  BitBlt(item.hDC, box.left, box.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}

}  // namespace orvane::win32
