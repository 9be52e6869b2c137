// The download engine's numbers on their own: header numbers and kilobyte
// rounding, whose odd cases no transfer reaches.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "download/download_progress.h"
#include "download/download_text.h"

namespace orvane {
namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(HeaderNumber, ReadsTheDigitsAtTheStartAndStopsAtAnythingElse) {
  const struct {
    const char* text;
    std::optional<std::uint64_t> number;
  } cases[] = {
      {"10000", 10000},
      {"0", 0},
      {"007", 7},
      {" \t42", 42},  // header whitespace before the value
      {"42 43", 42},
      {"1535.9", 1535},
      {"12abc", 12},
      {"", std::nullopt},
      {"abc", std::nullopt},
      {"-5", std::nullopt},  // no length is ever negative
      {"+5", std::nullopt},
      {" ", std::nullopt},
      {"18446744073709551615", kMax},
      {"18446744073709551616", std::nullopt},  // one past 64 bits
      {"99999999999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHeaderNumber(c.text), c.number) << c.text;
}

TEST(Kilobytes, RoundExactHalvesToTheEvenNeighbour) {
  const struct {
    std::uint64_t bytes, kilobytes;
  } cases[] = {
      {511, 0},  {512, 0},  {513, 1},      {1535, 1},     {1536, 2},
      {2560, 2}, {3584, 4}, {999936, 976}, {999937, 977}, {kMax, kMax / 1024 + 1},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundedKilobytes(c.bytes), c.kilobytes) << c.bytes;
}

}  // namespace
}  // namespace orvane
