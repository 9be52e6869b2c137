// Text handling of the download engine; see download_text.h.
#include "download/download_text.h"

#include <algorithm>
#include <limits>

namespace orvane {

// Content-Length and the status code are plain digits. Leading blanks are
// skipped as header whitespace; a sign, a point or anything else ends the
// number, so "-5" or "+5" announce no length at all rather than a bogus one.
// A number too large for 64 bits is no usable size either.
std::optional<std::uint64_t> ParseHeaderNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;

  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  const std::size_t digitsStart = at;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    const auto digit = static_cast<std::uint64_t>(text[at] - '0');
    if (value > (kMax - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  if (at == digitsStart) return std::nullopt;
  return value;
}

// A port field left empty leaves the text ending in ":"; the user then meant
// no proxy of their own, so the system's internet settings apply.
std::optional<std::string> ChooseProxy(std::string_view proxy) {
  if (!proxy.empty() && proxy.back() == ':') return std::nullopt;
  return std::string(proxy);
}

// Everything up to the first "/" from the search start is lowered. The search
// starts at the eighth character, the second slash of "https://", when that
// text appears anywhere (case-sensitive), else at the first: so an https
// address lowers "https://", an http address "http:/"; host and path keep
// their case.
std::string CacheEntryAddress(std::string_view url) {
  const std::size_t from = url.find("https://") != std::string_view::npos ? 7 : 0;
  const std::size_t slash = url.find('/', from);
  std::string address(url);
  if (slash == std::string_view::npos) return address;
  std::transform(
      address.begin(), address.begin() + static_cast<std::ptrdiff_t>(slash) + 1, address.begin(),
      [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return address;
}

std::string PartialFileName(std::string_view localFile) {
  return std::string(localFile) + ".download";
}

namespace {

// Appends the digits of value, a separator between groups of three. The
// caption is made at every block of a download, so no string is made for
// the digits on the way.
void AppendGrouped(std::string& text, std::uint64_t value, std::string_view separator) {
  char digits[20];
  int count = 0;
  for (; value > 0; value /= 10) digits[count++] = static_cast<char>('0' + value % 10);
  for (int i = count - 1; i >= 0; --i) {
    text += digits[i];
    if (i > 0 && i % 3 == 0) text += separator;
  }
}

}  // namespace

std::string GroupThousands(std::uint64_t value, std::string_view separator) {
  std::string grouped;
  AppendGrouped(grouped, value, separator);
  return grouped;
}

std::string ProgressCaption(std::int16_t percent, std::uint64_t receivedKb,
                            std::uint64_t expectedKb, std::string_view separator) {
  std::string caption;
  caption.reserve(48 + 2 * separator.size() * 6);
  caption += "Downloading ... ";
  if (percent < 0) caption += '-';
  const std::uint64_t magnitude =
      percent < 0 ? 0u - static_cast<std::uint64_t>(percent) : static_cast<std::uint64_t>(percent);
  if (magnitude == 0) caption += '0';
  AppendGrouped(caption, magnitude, "");
  caption += "%: ";
  AppendGrouped(caption, receivedKb, separator);
  caption += "Kb / ";
  AppendGrouped(caption, expectedKb, separator);
  caption += "Kb";
  return caption;
}

std::string FinishedCaption(std::uint64_t expectedKb) {
  const std::string kb = std::to_string(expectedKb);
  return "Finished 100%: " + kb + "Kb / " + kb + "Kb";
}

namespace {

std::string AttemptNumber(int attempt) {
  return attempt > 1 ? " (lan " + std::to_string(attempt) + ")" : "";
}

}  // namespace

std::string ConnectingCaption(int attempt) {
  return "Dang ket noi may chu" + AttemptNumber(attempt) + "...";
}

std::string AwaitingAnswerCaption(int attempt) {
  return "Dang cho may chu tra loi" + AttemptNumber(attempt) + "...";
}

std::string RetryCaption(std::uint32_t seconds, int attempt) {
  return "Mat ket noi, thu lai sau " + std::to_string(seconds) + " giay (lan " +
         std::to_string(attempt) + ")...";
}

}  // namespace orvane
