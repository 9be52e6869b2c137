// Text between the program's UTF-8 and the wide characters of Windows' calls.
#pragma once

#include <string>
#include <string_view>

#include "platform/unicode_text.h"

namespace orvane::win32 {

inline std::wstring Widen(std::string_view utf8) {
  const std::u16string wide = Utf16FromUtf8(utf8);
  return {wide.begin(), wide.end()};
}

inline std::string Narrow(std::wstring_view wide) {
  return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace orvane::win32
