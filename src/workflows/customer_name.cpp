#include "workflows/customer_name.h"

namespace orvane {

bool IsSafeCustomerName(std::string_view name) {
  if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
  for (char c : name) {
    const bool letterOrDigit =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (!letterOrDigit && c != '.' && c != '_' && c != '-') return false;
  }
  return true;
}

std::optional<std::string> ReadCustomerName(FileSystem& files, XmlFiles& xml,
                                            const std::string& installationFolder) {
  const std::string info = installationFolder + "\\Report\\Info.xml";
  // A few lines are all it takes; a huge file is not read, as that would
  // hold up the window.
  const std::optional<std::uint64_t> length = files.FileLength(info);
  if (!length || *length > kInfoXmlMostBytes) return std::nullopt;
  std::optional<std::string> text = xml.ElementText(info, "Info", "Customer");
  if (!text) return std::nullopt;
  // XML's own white space: space, tab, line feed and carriage return.
  const char* const space = " \t\n\r";
  const std::size_t first = text->find_first_not_of(space);
  if (first == std::string::npos) return std::nullopt;
  std::string name = text->substr(first, text->find_last_not_of(space) - first + 1);
  if (!IsSafeCustomerName(name)) return std::nullopt;
  return name;
}

}  // namespace orvane
