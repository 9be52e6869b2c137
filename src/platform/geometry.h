// Small value types shared by the form model and the platform seam.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace orvane {

// A control's place and size in window pixels, from the window's top-left corner.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool Contains(int x, int y) const {
    return x >= left && y >= top && x < left + width && y < top + height;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Colours are either fixed RGB values or follow a system colour, so the
// host can resolve them against the user's theme when it paints.
enum class ColorSource { Fixed, SystemWindowText, SystemHighlight };

struct Color {
  ColorSource source = ColorSource::Fixed;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  static constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {ColorSource::Fixed, r, g, b};
  }
  static constexpr Color System(ColorSource source) { return {source, 0, 0, 0}; }
  friend bool operator==(const Color&, const Color&) = default;
};

struct Font {
  std::string face;
  double points = 0;
  bool bold = false;
  friend auto operator<=>(const Font&, const Font&) = default;
};

}  // namespace orvane
