// The seam to the system's internet client: the WinINet ANSI entry points the
// download engine calls, one method each, with the same arguments.
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

using InternetHandle = void*;  // opaque; null means the call failed

inline constexpr std::uint32_t kInternetOpenTypePreconfig = 0;
inline constexpr std::uint32_t kInternetOpenTypeProxy = 3;
inline constexpr std::uint32_t kInternetFlagExistingConnect = 0x20000000;
inline constexpr std::uint32_t kInternetFlagReload = 0x80000000;
inline constexpr std::uint32_t kInternetFlagNoCacheWrite = 0x04000000;
inline constexpr std::uint32_t kInternetOptionConnectTimeout = 2;
inline constexpr std::uint32_t kInternetOptionReceiveTimeout = 6;
inline constexpr std::uint32_t kHttpQueryContentLength = 5;
inline constexpr std::uint32_t kHttpQueryLastModified = 11;
inline constexpr std::uint32_t kHttpQueryStatusCode = 19;
inline constexpr std::uint32_t kHttpQueryRetryAfter = 36;
inline constexpr std::uint32_t kHttpQueryContentRange = 53;
inline constexpr std::uint32_t kHttpQueryETag = 54;

class Internet {
 public:
  virtual ~Internet() = default;

  virtual bool DeleteUrlCacheEntryA(const std::string& url) = 0;
  // proxyName and proxyBypass may be null, as InternetOpenA allows.
  virtual InternetHandle InternetOpenA(const std::string& agent, std::uint32_t accessType,
                                       const char* proxyName, const char* proxyBypass,
                                       std::uint32_t flags) = 0;
  virtual InternetHandle InternetOpenUrlA(InternetHandle session, const std::string& url,
                                          const char* headers, std::uint32_t headersLength,
                                          std::uint32_t flags, std::uintptr_t context) = 0;
  virtual bool HttpQueryInfoA(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                              std::uint32_t& bufferLength, std::uint32_t& index) = 0;
  virtual bool InternetReadFile(InternetHandle file, void* buffer, std::uint32_t bytesToRead,
                                std::uint32_t& bytesRead) = 0;
  virtual bool InternetCloseHandle(InternetHandle handle) = 0;
  virtual bool InternetSetOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                                  std::uint32_t bufferLength) = 0;
  // The calling thread's last error, where WinINet leaves why a call failed.
  virtual std::uint32_t GetLastError() = 0;
};

}  // namespace orvane
