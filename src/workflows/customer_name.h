// The customer's folder name on the product server, read from the
// installation's Report\Info.xml: <Info><Customer>NAME</Customer></Info>.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/xml_files.h"

namespace orvane {

// One safe path segment: 1 to 64 of A-Z a-z 0-9 . _ -, and neither "." nor "..".
bool IsSafeCustomerName(std::string_view name);

// The installation's customer name, trimmed of surrounding white space, or
// nullopt when the file can't be read, has no Customer, or the name isn't safe.
std::optional<std::string> ReadCustomerName(XmlFiles& xml, const std::string& installationFolder);

}  // namespace orvane
