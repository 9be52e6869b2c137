// The download engine's progress arithmetic: kilobytes, the percentage and
// the bar's width. Pure, so it is unit tested and fuzzed on its own.
#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

// Bytes in kilobytes of 1024, rounded with exact halves to the even neighbour.
std::uint64_t RoundedKilobytes(std::uint64_t bytes);

// (received / 1024) / expectedKb * 100 rounded, or nothing when the result
// leaves the signed 16-bit range or there is no expected size.
std::optional<std::int16_t> Percentage(std::uint64_t receivedBytes, std::uint64_t expectedKb);

// The bar's next width: grown in proportion while it is narrower than the
// caption, and never wider than the caption.
int NextBarWidth(int barWidth, int captionWidth, std::uint64_t receivedBytes,
                 std::uint64_t expectedKb);

}  // namespace orvane
