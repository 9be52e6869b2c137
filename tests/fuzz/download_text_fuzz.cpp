// Fuzzes the download engine's text handling and progress arithmetic: no
// input may crash them or trip a sanitizer, and each answer must keep the
// property its caller relies on.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A value is the digit run after the leading blanks, written without its
// leading zeros; no value means no digits or more than 64 bits of them.
void CheckHeaderNumber(std::string_view text) {
  std::size_t at = text.find_first_not_of(" \t");
  if (at == std::string_view::npos) at = text.size();
  std::size_t end = at;
  while (end < text.size() && IsDigit(text[end])) ++end;
  std::string_view digits = text.substr(at, end - at);
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);

  const std::optional<std::uint64_t> number = orvane::ParseHeaderNumber(text);
  if (number) {
    Check(std::to_string(*number) == digits);
  } else {
    constexpr std::string_view kMax = "18446744073709551615";
    Check(digits.empty() || digits.size() > kMax.size() ||
          (digits.size() == kMax.size() && digits > kMax));
  }
}

// Same length; a lowered prefix ending at a slash, the rest byte for byte.
void CheckCacheEntryAddress(std::string_view url) {
  const std::string address = orvane::CacheEntryAddress(url);
  Check(address.size() == url.size());
  std::size_t changed = 0;
  for (std::size_t i = 0; i < url.size(); ++i) {
    Check(address[i] == url[i] || address[i] == Lower(url[i]));
    if (address[i] != url[i]) changed = i + 1;
  }
  if (changed > 0) Check(url.find('/', changed - 1) != std::string_view::npos);
  if (url.find("https://") == std::string_view::npos) {
    const std::size_t slash = url.find('/');
    for (std::size_t i = 0; slash != std::string_view::npos && i <= slash; ++i) {
      Check(address[i] == Lower(url[i]));
    }
  }
}

void CheckProxyChoice(std::string_view proxy) {
  const orvane::ProxyChoice choice = orvane::ChooseProxy(proxy);
  if (!proxy.empty() && proxy.back() == ':') {
    Check(choice.accessType == orvane::kInternetOpenTypePreconfig && !choice.name &&
          !choice.bypass);
  } else {
    Check(choice.accessType == orvane::kInternetOpenTypeProxy && choice.name == proxy &&
          choice.bypass == "<local>");
  }
}

// Taking the separators out gives the plain digits back, or nothing for zero.
void CheckGrouping(std::uint64_t value, const std::string& separator) {
  std::string grouped = orvane::GroupThousands(value, separator);
  if (value == 0) {
    Check(grouped.empty());
    return;
  }
  std::string digits;
  for (std::size_t i = 0; i < grouped.size();) {
    if (IsDigit(grouped[i])) {
      digits += grouped[i++];
    } else {
      Check(grouped.compare(i, separator.size(), separator) == 0);
      i += separator.size();
    }
  }
  Check(digits == std::to_string(value));
}

void CheckProgress(FuzzedDataProvider& data) {
  const auto received = data.ConsumeIntegral<std::uint64_t>();
  const auto expectedKb = data.ConsumeIntegral<std::uint64_t>();
  const auto barWidth = data.ConsumeIntegral<int>();
  const auto captionWidth = data.ConsumeIntegral<int>();

  // The nearest whole kilobyte, and an even one for an exact half.
  const std::uint64_t kilobytes = orvane::RoundedKilobytes(received);
  const std::uint64_t rest = received % 1024;
  const std::uint64_t up = kilobytes - received / 1024;
  Check(rest < 512 ? up == 0 : rest > 512 ? up == 1 : up <= 1 && kilobytes % 2 == 0);

  const std::optional<std::int16_t> percent = orvane::Percentage(received, expectedKb);
  if (expectedKb == 0) Check(!percent);
  Check(orvane::NextBarWidth(barWidth, captionWidth, received, expectedKb) <= captionWidth);

  if (percent) {
    const std::string caption = orvane::ProgressCaption(*percent, kilobytes, expectedKb, ",");
    Check(caption.starts_with("Downloading ... " + std::to_string(*percent) + "%: "));
    Check(caption.ends_with(orvane::GroupThousands(expectedKb, ",") + "Kb"));
  }
  Check(orvane::FinishedCaption(expectedKb).ends_with(std::to_string(expectedKb) + "Kb"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  CheckHeaderNumber(text);
  CheckCacheEntryAddress(text);
  CheckProxyChoice(text);

  FuzzedDataProvider data(bytes, size);
  CheckProgress(data);
  std::string separator = data.ConsumeRandomLengthString(4);
  std::erase_if(separator, IsDigit);  // a digit as separator could not be told apart
  CheckGrouping(data.ConsumeIntegral<std::uint64_t>(), separator);
  return 0;
}
