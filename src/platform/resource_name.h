// The name a picture file is embedded in the executable under, as the build
// embeds it: upper case, with "." as "_" ("bg.jpg" -> "BG_JPG").
#pragma once

#include <string>
#include <string_view>

namespace orvane {

inline std::string ResourceNameOf(std::string_view fileName) {
  std::string name(fileName);
  for (char& c : name) {
    if (c == '.') c = '_';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

}  // namespace orvane
