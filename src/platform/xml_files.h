// The seam to the system's XML reader.
#pragma once

#include <optional>
#include <string>

namespace orvane {

class XmlFiles {
 public:
  virtual ~XmlFiles() = default;
  // The text of the first element named `child` directly inside the root
  // element, if the root is named `root`; nullopt when the file can't be
  // read or parsed, or holds no such element.
  virtual std::optional<std::string> ElementText(const std::string& path, const std::string& root,
                                                 const std::string& child) = 0;
};

}  // namespace orvane
