// The download engine's text handling: reading numbers from response
// headers, choosing the proxy, the cache entry's address and the captions.
// Pure functions, so they are unit tested and fuzzed on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The number at the start of a header value such as Content-Length or the
// status code; nothing when the text holds no digits there or the number
// does not fit in 64 bits.
std::optional<std::uint64_t> ParseHeaderNumber(std::string_view text);

// The proxy a download goes through for a proxy text "address:port": the
// text itself, or none when the port is empty (the system's settings apply).
std::optional<std::string> ChooseProxy(std::string_view proxy);

// The address under which the cache entry is deleted: the scheme part in
// lower case, host and path as given.
std::string CacheEntryAddress(std::string_view url);

// Where the body is written until it is known to be complete: beside the
// target, so replacing the target is a rename within one folder.
std::string PartialFileName(std::string_view localFile);

// A whole number in the pattern "#,###": groups of three digits joined by the
// separator, and no text at all for zero.
std::string GroupThousands(std::uint64_t value, std::string_view separator);

inline constexpr std::string_view kStartCaption = "Downloading ... 0%";

// "Downloading ... 37%: 1,234Kb / 3,335Kb"
std::string ProgressCaption(std::int16_t percent, std::uint64_t receivedKb,
                            std::uint64_t expectedKb, std::string_view separator);

// "Finished 100%: 3335Kb / 3335Kb", both numbers the announced size.
std::string FinishedCaption(std::uint64_t expectedKb);

// While no byte of the body has come: "Dang ket noi may chu...", then
// "Dang cho may chu tra loi..." once the request is out; from the second
// attempt of a download on, with its number: "Dang ket noi may chu (lan 2)...".
std::string ConnectingCaption(int attempt);
std::string AwaitingAnswerCaption(int attempt);

// Before the next attempt: "Mat ket noi, thu lai sau 4 giay (lan 2)...".
std::string RetryCaption(std::uint32_t seconds, int attempt);

}  // namespace orvane
