#include "download/retry_rules.h"

#include <algorithm>
#include <charconv>

namespace orvane {

namespace {

// Reads the decimal number at the front of text and moves past it.
std::optional<std::uint64_t> TakeNumber(std::string_view& text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value;
}

bool TakeText(std::string_view& text, std::string_view expected) {
  if (!text.starts_with(expected)) return false;
  text.remove_prefix(expected.size());
  return true;
}

}  // namespace

bool IsTransientStatus(std::uint64_t status) {
  return status == 408 || status == 429 || status == 500 || status == 502 || status == 503 ||
         status == 504;
}

bool IsProxyRefusal(std::uint64_t status, bool loginSent) {
  return status == 407 || (loginSent && status == 401);
}

std::uint32_t WaitSecondsBefore(int retry, std::optional<std::uint64_t> retryAfter) {
  if (retryAfter)
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(*retryAfter, kLongestWaitSeconds));
  const int doublings = std::clamp(retry - 1, 0, 5);
  return std::min(std::uint32_t{1} << doublings, kLongestWaitSeconds);
}

std::optional<ContentRange> ParseContentRange(std::string_view text) {
  ContentRange range;
  if (!TakeText(text, "bytes ")) return std::nullopt;
  const std::optional<std::uint64_t> first = TakeNumber(text);
  if (!first || !TakeText(text, "-")) return std::nullopt;
  const std::optional<std::uint64_t> last = TakeNumber(text);
  if (!last || !TakeText(text, "/")) return std::nullopt;
  const std::optional<std::uint64_t> total = TakeNumber(text);
  if (!total || !text.empty() || *first > *last || *last >= *total) return std::nullopt;
  return ContentRange{*first, *last, *total};
}

bool CanResume(const ResumePoint& point) {
  return !point.validator.empty() && point.total > 0;
}

bool AsksRange(const ResumePoint& point) {
  return CanResume(point) && point.received > 0;
}

BodyFit FitOf(std::uint64_t status, const ResumePoint& asked,
              const std::optional<ContentRange>& range) {
  const bool rangeAsked = AsksRange(asked);
  if (status == 200) return BodyFit::Fresh;
  if (status != 206) return rangeAsked ? BodyFit::Mismatch : BodyFit::Fresh;
  const bool continues =
      rangeAsked && range && range->first == asked.received && range->total == asked.total;
  return continues ? BodyFit::Continues : BodyFit::Mismatch;
}

}  // namespace orvane
