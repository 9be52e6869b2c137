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
inline constexpr std::uint32_t kInternetOptionProxyUsername = 43;
inline constexpr std::uint32_t kInternetOptionProxyPassword = 44;
inline constexpr std::uint32_t kErrorInternetIncorrectPassword = 12014;
inline constexpr std::uint32_t kErrorInternetForceRetry = 12032;
inline constexpr std::uint32_t kFlagsErrorUiFilterForErrors = 0x01;
inline constexpr std::uint32_t kFlagsErrorUiFlagsChangeOptions = 0x02;
inline constexpr std::uint32_t kFlagsErrorUiFlagsGenerateData = 0x04;

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
  // bufferLength: in, the buffer's size; out, the length of what was written.
  virtual bool InternetQueryOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                                    std::uint32_t& bufferLength) = 0;
  // Sends the request again, as it was opened, with what was set on it since.
  virtual bool HttpSendRequestA(InternetHandle request, const char* headers,
                                std::uint32_t headersLength, void* optional,
                                std::uint32_t optionalLength) = 0;
  // The system's dialog for the error, owned by the program's window.
  virtual std::uint32_t InternetErrorDlg(InternetHandle request, std::uint32_t error,
                                         std::uint32_t flags) = 0;
  // The calling thread's last error, where WinINet leaves why a call failed.
  virtual std::uint32_t GetLastError() = 0;
};

}  // namespace orvane
