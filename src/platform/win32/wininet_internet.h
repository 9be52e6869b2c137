// The internet seam on WinINet's ANSI entry points, one call per method.
#pragma once

#include "platform/internet.h"

namespace orvane::win32 {

class WinInetInternet : public Internet {
 public:
  bool DeleteUrlCacheEntryA(const std::string& url) override;
  InternetHandle InternetOpenA(const std::string& agent, std::uint32_t accessType,
                               const char* proxyName, const char* proxyBypass,
                               std::uint32_t flags) override;
  InternetHandle InternetOpenUrlA(InternetHandle session, const std::string& url,
                                  const char* headers, std::uint32_t headersLength,
                                  std::uint32_t flags, std::uintptr_t context) override;
  bool HttpQueryInfoA(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                      std::uint32_t& bufferLength, std::uint32_t& index) override;
  bool InternetReadFile(InternetHandle file, void* buffer, std::uint32_t bytesToRead,
                        std::uint32_t& bytesRead) override;
  bool InternetCloseHandle(InternetHandle handle) override;
};

}  // namespace orvane::win32
