#include "platform/win32/wininet_internet.h"

#include <windows.h>
#include <wininet.h>

namespace orvane::win32 {

bool WinInetInternet::DeleteUrlCacheEntryA(const std::string& url) {
  return ::DeleteUrlCacheEntryA(url.c_str()) != FALSE;
}

InternetHandle WinInetInternet::InternetOpenA(const std::string& agent, std::uint32_t accessType,
                                              const char* proxyName, const char* proxyBypass,
                                              std::uint32_t flags) {
  return ::InternetOpenA(agent.c_str(), accessType, proxyName, proxyBypass, flags);
}

InternetHandle WinInetInternet::InternetOpenUrlA(InternetHandle session, const std::string& url,
                                                 const char* headers, std::uint32_t headersLength,
                                                 std::uint32_t flags, std::uintptr_t context) {
  return ::InternetOpenUrlA(static_cast<HINTERNET>(session), url.c_str(), headers, headersLength,
                            flags, context);
}

bool WinInetInternet::HttpQueryInfoA(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                                     std::uint32_t& bufferLength, std::uint32_t& index) {
  DWORD length = bufferLength;
  DWORD position = index;
  const bool ok = ::HttpQueryInfoA(static_cast<HINTERNET>(request), infoLevel, buffer, &length,
                                   &position) != FALSE;
  bufferLength = length;
  index = position;
  return ok;
}

bool WinInetInternet::InternetReadFile(InternetHandle file, void* buffer, std::uint32_t bytesToRead,
                                       std::uint32_t& bytesRead) {
  DWORD read = 0;
  const bool ok =
      ::InternetReadFile(static_cast<HINTERNET>(file), buffer, bytesToRead, &read) != FALSE;
  bytesRead = read;
  return ok;
}

bool WinInetInternet::InternetCloseHandle(InternetHandle handle) {
  return ::InternetCloseHandle(static_cast<HINTERNET>(handle)) != FALSE;
}

}  // namespace orvane::win32
