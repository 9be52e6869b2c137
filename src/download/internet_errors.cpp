#include "download/internet_errors.h"

#include <algorithm>
#include <iterator>

namespace orvane {

namespace {

struct KnownError {
  std::uint32_t number;
  const char* name;
  bool transient;
};

// WinINet's own numbers, and the socket errors that come through them.
constexpr KnownError kKnownErrors[] = {
    {12002, "ERROR_INTERNET_TIMEOUT", true},
    {12005, "ERROR_INTERNET_INVALID_URL", false},
    {12006, "ERROR_INTERNET_UNRECOGNIZED_SCHEME", false},
    // The line is down, or its name server.
    {12007, "ERROR_INTERNET_NAME_NOT_RESOLVED", true},
    {12017, "ERROR_INTERNET_OPERATION_CANCELLED", false},
    {12029, "ERROR_INTERNET_CANNOT_CONNECT", true},
    {12030, "ERROR_INTERNET_CONNECTION_ABORTED", true},
    {12031, "ERROR_INTERNET_CONNECTION_RESET", true},
    {12037, "ERROR_INTERNET_SEC_CERT_DATE_INVALID", false},
    {12038, "ERROR_INTERNET_SEC_CERT_CN_INVALID", false},
    {12044, "ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED", false},
    {12045, "ERROR_INTERNET_INVALID_CA", false},
    {12055, "ERROR_INTERNET_SEC_CERT_ERRORS", false},
    {12057, "ERROR_INTERNET_SEC_CERT_REV_FAILED", false},
    // Closed before a whole answer came.
    {12152, "ERROR_HTTP_INVALID_SERVER_RESPONSE", true},
    {12157, "ERROR_INTERNET_SECURITY_CHANNEL_ERROR", false},
    {12163, "ERROR_INTERNET_DISCONNECTED", true},
    {12164, "ERROR_INTERNET_SERVER_UNREACHABLE", true},
    {12165, "ERROR_INTERNET_PROXY_SERVER_UNREACHABLE", true},
    {12169, "ERROR_INTERNET_SEC_INVALID_CERT", false},
    {12170, "ERROR_INTERNET_SEC_CERT_REVOKED", false},
    {12175, "ERROR_INTERNET_DECODING_FAILED", false},
    {10050, "WSAENETDOWN", true},
    {10051, "WSAENETUNREACH", true},
    {10052, "WSAENETRESET", true},
    {10053, "WSAECONNABORTED", true},
    {10054, "WSAECONNRESET", true},
    {10060, "WSAETIMEDOUT", true},
    {10061, "WSAECONNREFUSED", true},
    {10065, "WSAEHOSTUNREACH", true},
};

const KnownError* Find(std::uint32_t error) {
  const auto found = std::ranges::find(kKnownErrors, error, &KnownError::number);
  return found == std::end(kKnownErrors) ? nullptr : &*found;
}

}  // namespace

bool IsTransientInternetError(std::uint32_t error) {
  const KnownError* known = Find(error);
  return known && known->transient;
}

std::string InternetErrorText(std::uint32_t error) {
  const KnownError* known = Find(error);
  return std::to_string(error) + (known ? std::string(" ") + known->name : "");
}

}  // namespace orvane
