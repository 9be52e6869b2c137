// The customer's folder name on the product server, read from the
// installation's Report\Info.xml: <Info><Customer>NAME</Customer></Info>.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/xml_files.h"

namespace orvane {

// One safe path segment: 1 to 64 of A-Z a-z 0-9 . _ -, and neither "." nor "..".
bool IsSafeCustomerName(std::string_view name);

// Info.xml holds a few lines; anything longer is not the installation's own.
inline constexpr std::uint64_t kInfoXmlMostBytes = 64 * 1024;

// The installation's customer name, trimmed of surrounding white space, or
// nullopt when the file is missing, longer than kInfoXmlMostBytes or can't be
// read, has no Customer, or the name isn't safe.
std::optional<std::string> ReadCustomerName(FileSystem& files, XmlFiles& xml,
                                            const std::string& installationFolder);

}  // namespace orvane
