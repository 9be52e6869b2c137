// The support log's line for one attempt of a download. Pure, so it is unit
// tested on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// What one attempt did: the address (which never holds a login), the proxy
// text as typed, the server's status or WinINet's error or the silence that
// ended it, the byte it asked from and what the partial file held after it
// of the length announced.
struct AttemptRecord {
  std::string address;
  std::string proxy;
  std::vector<std::uint64_t> statuses;  // more than one when a proxy asked for a login
  std::optional<std::uint32_t> error;
  std::optional<std::uint32_t> silentSeconds;  // nothing heard for so long: given up
  std::uint64_t from = 0;
  std::uint64_t received = 0;
  std::uint64_t total = 0;  // 0: none announced
};

// "Download https://host/install/install.exe, proxy 10.0.0.1:3128, status
// 407 200, 8192 of 10000 bytes from byte 4096: retry in 2 s"; an attempt
// given up on says ", nothing heard for 20 s" after its status.
std::string AttemptLine(const AttemptRecord& record, std::string_view outcome);

}  // namespace orvane
