#include "platform/win32/wininet_internet.h"

#include <type_traits>

#include "platform/win32/system_library.h"

namespace orvane::win32 {

namespace {

template <typename Pointer>
Pointer Resolve(const Module& module, const char* name) {
  return EntryPoint<std::remove_pointer_t<Pointer>>(module.get(), name);
}

}  // namespace

WinInetInternet::WinInetInternet()
    : wininet_(LoadSystemLibrary(L"wininet.dll")),
      deleteUrlCacheEntry_(
          Resolve<decltype(deleteUrlCacheEntry_)>(wininet_, "DeleteUrlCacheEntryA")),
      internetOpen_(Resolve<decltype(internetOpen_)>(wininet_, "InternetOpenA")),
      internetOpenUrl_(Resolve<decltype(internetOpenUrl_)>(wininet_, "InternetOpenUrlA")),
      httpQueryInfo_(Resolve<decltype(httpQueryInfo_)>(wininet_, "HttpQueryInfoA")),
      internetReadFile_(Resolve<decltype(internetReadFile_)>(wininet_, "InternetReadFile")),
      internetCloseHandle_(
          Resolve<decltype(internetCloseHandle_)>(wininet_, "InternetCloseHandle")) {}

bool WinInetInternet::DeleteUrlCacheEntryA(const std::string& url) {
  return deleteUrlCacheEntry_ && deleteUrlCacheEntry_(url.c_str()) != FALSE;
}

InternetHandle WinInetInternet::InternetOpenA(const std::string& agent, std::uint32_t accessType,
                                              const char* proxyName, const char* proxyBypass,
                                              std::uint32_t flags) {
  if (!internetOpen_) return nullptr;
  return internetOpen_(agent.c_str(), accessType, proxyName, proxyBypass, flags);
}

InternetHandle WinInetInternet::InternetOpenUrlA(InternetHandle session, const std::string& url,
                                                 const char* headers, std::uint32_t headersLength,
                                                 std::uint32_t flags, std::uintptr_t context) {
  if (!internetOpenUrl_) return nullptr;
  return internetOpenUrl_(static_cast<HINTERNET>(session), url.c_str(), headers, headersLength,
                          flags, context);
}

bool WinInetInternet::HttpQueryInfoA(InternetHandle request, std::uint32_t infoLevel, void* buffer,
                                     std::uint32_t& bufferLength, std::uint32_t& index) {
  if (!httpQueryInfo_) return false;
  DWORD length = bufferLength;
  DWORD position = index;
  const bool ok = httpQueryInfo_(static_cast<HINTERNET>(request), infoLevel, buffer, &length,
                                 &position) != FALSE;
  bufferLength = length;
  index = position;
  return ok;
}

bool WinInetInternet::InternetReadFile(InternetHandle file, void* buffer, std::uint32_t bytesToRead,
                                       std::uint32_t& bytesRead) {
  DWORD read = 0;
  const bool ok = internetReadFile_ && internetReadFile_(static_cast<HINTERNET>(file), buffer,
                                                         bytesToRead, &read) != FALSE;
  bytesRead = read;
  return ok;
}

bool WinInetInternet::InternetCloseHandle(InternetHandle handle) {
  return internetCloseHandle_ && internetCloseHandle_(static_cast<HINTERNET>(handle)) != FALSE;
}

}  // namespace orvane::win32
