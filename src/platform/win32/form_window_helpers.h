// Small conversions the form window's files share.
#pragma once

#include <windows.h>

#include <string>

#include "platform/geometry.h"
#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

// The timer that hands gathered changes over for repainting.
inline constexpr UINT_PTR kRepaintTimer = 1;
// Posted once a panel changes: the keyboard's place is checked after it.
inline constexpr UINT kFocusCheck = WM_APP + 1;

inline COLORREF ColorRefOf(Color color) {
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

// A window's text, such as what the user typed into an edit box.
inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace orvane::win32
