// Progress arithmetic of the download engine; see download_progress.h.
#include "download/download_progress.h"

#include <algorithm>
#include <limits>

#include "platform/vb_runtime.h"

namespace orvane {

// In integers: a size beyond 2^53 bytes would lose the remainder as a double.
std::uint64_t RoundedKilobytes(std::uint64_t bytes) {
  const std::uint64_t whole = bytes / 1024;
  const std::uint64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && whole % 2 == 1)) return whole + 1;
  return whole;
}

// The same order of double operations as the captions have always used, so
// the same halves round the same way.
std::optional<std::int16_t> Percentage(std::uint64_t receivedBytes, std::uint64_t expectedKb) {
  if (expectedKb == 0) return std::nullopt;
  const double percent = RoundHalfEven(static_cast<double>(receivedBytes) / 1024 /
                                       static_cast<double>(expectedKb) * 100);
  if (!(percent >= std::numeric_limits<std::int16_t>::min() &&
        percent <= std::numeric_limits<std::int16_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(percent);
}

// The clamp comes before the conversion to int, so a received count far
// beyond the announced size cannot overflow the width.
int NextBarWidth(int barWidth, int captionWidth, std::uint64_t receivedBytes,
                 std::uint64_t expectedKb) {
  if (barWidth < captionWidth && expectedKb > 0) {
    const double grown = RoundHalfEven(static_cast<double>(receivedBytes) / 1024 * captionWidth /
                                       static_cast<double>(expectedKb));
    if (grown >= captionWidth) {
      barWidth = captionWidth;
    } else {
      barWidth = static_cast<int>(std::max(grown, double{std::numeric_limits<int>::min()}));
    }
  }
  return std::min(barWidth, captionWidth);
}

}  // namespace orvane
