// XML files read with XmlLite, the reader that ships with Windows.
#pragma once

#include "platform/xml_files.h"

namespace orvane::win32 {

class XmlLiteFiles : public XmlFiles {
 public:
  std::optional<std::string> ElementText(const std::string& path, const std::string& root,
                                         const std::string& child) override;
};

}  // namespace orvane::win32
