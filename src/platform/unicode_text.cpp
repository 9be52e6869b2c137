#include "platform/unicode_text.h"

namespace orvane {

namespace {

constexpr char16_t kReplacement = u'\xFFFD';

// The sequence a lead byte starts: its length, the bits it carries, and the
// range of the byte after it, which rules out overlong forms, surrogates and
// code points past U+10FFFF. Length 0: the byte starts no sequence.
struct Lead {
  std::size_t length;
  char32_t bits;
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
};

Lead LeadOf(unsigned char byte) {
  if (byte < 0x80) return {1, byte};
  if (byte >= 0xC2 && byte <= 0xDF) return {2, byte & 0x1Fu};
  if (byte == 0xE0) return {3, 0, 0xA0};
  if (byte == 0xED) return {3, 0x0D, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {3, byte & 0x0Fu};
  if (byte == 0xF0) return {4, 0, 0x90};
  if (byte >= 0xF1 && byte <= 0xF3) return {4, byte & 0x07u};
  if (byte == 0xF4) return {4, 4, 0x80, 0x8F};
  return {0, 0};
}

void AppendUtf8(std::string& out, char32_t code) {
  auto byte = [&out](char32_t value) { out += static_cast<char>(value); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | code >> 6);
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | code >> 12);
    byte(0x80 | (code >> 6 & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | code >> 18);
    byte(0x80 | (code >> 12 & 0x3F));
    byte(0x80 | (code >> 6 & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Lead lead = LeadOf(static_cast<unsigned char>(utf8[i]));
    char32_t code = lead.bits;
    std::size_t taken = 1;
    for (; taken < lead.length && i + taken < utf8.size(); ++taken) {
      const auto next = static_cast<unsigned char>(utf8[i + taken]);
      const bool second = taken == 1;
      if (next < (second ? lead.secondLow : 0x80) || next > (second ? lead.secondHigh : 0xBF))
        break;
      code = code << 6 | (next & 0x3Fu);
    }
    i += taken;
    if (lead.length == 0 || taken < lead.length) {
      out += kReplacement;
    } else if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t code = utf16[i];
    if (IsHighSurrogate(code) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++i] - 0xDC00u);
    } else if (IsHighSurrogate(code) || IsLowSurrogate(code)) {
      code = kReplacement;  // half a pair
    }
    AppendUtf8(out, code);
  }
  return out;
}

}  // namespace orvane
