// UTF-8, in which the program keeps its text, and UTF-16, which the system's
// wide-character calls take, converted into each other. A malformed sequence
// becomes U+FFFD, one for each longest start of a sequence that could have
// been valid, as the system's own conversion does.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

}  // namespace orvane
