// WinINet's error numbers as the download engine meets them: which say the
// line dropped or the server was out of reach, and their names for the log.
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// Errors of a line that dropped or a server that could not be reached.
// Certificate and other TLS errors are not among them: a safety matter is
// never tried again until it passes.
bool IsTransientInternetError(std::uint32_t error);

// "12029 ERROR_INTERNET_CANNOT_CONNECT"; the number alone for one not named here.
std::string InternetErrorText(std::uint32_t error);

}  // namespace orvane
