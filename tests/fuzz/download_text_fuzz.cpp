// Fuzzes the download engine's text handling and progress arithmetic: no
// input may crash them or trip a sanitizer, and the answers checked here keep
// the property their callers rely on.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "download/download_progress.h"
#include "download/download_text.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

// The number is the digit run after the leading blanks, if it fits 64 bits.
void CheckHeaderNumber(std::string_view text) {
  const std::size_t at = std::min(text.find_first_not_of(" \t"), text.size());
  std::string_view digits = text.substr(at, text.find_first_not_of("0123456789", at) - at);
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  constexpr std::string_view kMax = "18446744073709551615";
  const bool fits = !digits.empty() && (digits.size() < kMax.size() ||
                                        (digits.size() == kMax.size() && digits <= kMax));
  const std::optional<std::uint64_t> number = orvane::ParseHeaderNumber(text);
  Check(number ? fits && std::to_string(*number) == digits : !fits);
}

// Taking the separators out gives the plain digits back, or nothing for zero.
void CheckGrouping(std::uint64_t value, std::string separator) {
  std::erase_if(separator, [](char c) { return c >= '0' && c <= '9'; });
  std::string grouped = orvane::GroupThousands(value, separator);
  for (std::size_t at; !separator.empty() && (at = grouped.find(separator)) != std::string::npos;)
    grouped.erase(at, separator.size());
  Check(grouped == (value == 0 ? "" : std::to_string(value)));
}

// The nearest whole kilobyte, an even one for an exact half; the bar never
// outgrows the caption.
void CheckProgress(std::uint64_t received, std::uint64_t expectedKb, int bar, int caption) {
  const std::uint64_t up = orvane::RoundedKilobytes(received) - received / 1024;
  const std::uint64_t rest = received % 1024;
  Check(rest == 512 ? up == (received / 1024) % 2 : up == (rest > 512 ? 1u : 0u));
  Check(orvane::NextBarWidth(bar, caption, received, expectedKb) <= caption);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  CheckHeaderNumber(text);
  // Crashes and sanitizer reports only: the unit tests pin these answers.
  orvane::ChooseProxy(text);
  orvane::CacheEntryAddress(text);
  FuzzedDataProvider data(bytes, size);
  CheckProgress(data.ConsumeIntegral<std::uint64_t>(), data.ConsumeIntegral<std::uint64_t>(),
                data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>());
  CheckGrouping(data.ConsumeIntegral<std::uint64_t>(), data.ConsumeRandomLengthString(4));
  return 0;
}
