#include "platform/win32/wininet_internet.h"

#include <type_traits>

#include "platform/win32/system_library.h"

namespace orvane::win32 {

namespace {

// The core passes these numbers through unchanged.
static_assert(kInternetFlagExistingConnect == INTERNET_FLAG_EXISTING_CONNECT);
static_assert(kInternetFlagReload == INTERNET_FLAG_RELOAD);
static_assert(kInternetFlagNoCacheWrite == INTERNET_FLAG_NO_CACHE_WRITE);
static_assert(kInternetOptionConnectTimeout == INTERNET_OPTION_CONNECT_TIMEOUT);
static_assert(kInternetOptionReceiveTimeout == INTERNET_OPTION_RECEIVE_TIMEOUT);
static_assert(kHttpQueryContentLength == HTTP_QUERY_CONTENT_LENGTH);
static_assert(kHttpQueryLastModified == HTTP_QUERY_LAST_MODIFIED);
static_assert(kHttpQueryStatusCode == HTTP_QUERY_STATUS_CODE);
static_assert(kHttpQueryRetryAfter == HTTP_QUERY_RETRY_AFTER);
static_assert(kHttpQueryContentRange == HTTP_QUERY_CONTENT_RANGE);
static_assert(kHttpQueryETag == HTTP_QUERY_ETAG);
static_assert(kInternetOptionProxyUsername == INTERNET_OPTION_PROXY_USERNAME);
static_assert(kInternetOptionProxyPassword == INTERNET_OPTION_PROXY_PASSWORD);
static_assert(kErrorInternetIncorrectPassword == ERROR_INTERNET_INCORRECT_PASSWORD);
static_assert(kErrorInternetForceRetry == ERROR_INTERNET_FORCE_RETRY);
static_assert(kFlagsErrorUiFilterForErrors == FLAGS_ERROR_UI_FILTER_FOR_ERRORS);
static_assert(kFlagsErrorUiFlagsChangeOptions == FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS);
static_assert(kFlagsErrorUiFlagsGenerateData == FLAGS_ERROR_UI_FLAGS_GENERATE_DATA);

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
          Resolve<decltype(internetCloseHandle_)>(wininet_, "InternetCloseHandle")),
      internetSetOption_(Resolve<decltype(internetSetOption_)>(wininet_, "InternetSetOptionA")),
      internetQueryOption_(
          Resolve<decltype(internetQueryOption_)>(wininet_, "InternetQueryOptionA")),
      httpSendRequest_(Resolve<decltype(httpSendRequest_)>(wininet_, "HttpSendRequestA")),
      internetErrorDlg_(Resolve<decltype(internetErrorDlg_)>(wininet_, "InternetErrorDlg")) {}

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

bool WinInetInternet::InternetSetOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                                         std::uint32_t bufferLength) {
  return internetSetOption_ &&
         internetSetOption_(static_cast<HINTERNET>(handle), option, buffer, bufferLength) != FALSE;
}

bool WinInetInternet::InternetQueryOptionA(InternetHandle handle, std::uint32_t option,
                                           void* buffer, std::uint32_t& bufferLength) {
  DWORD length = bufferLength;
  const bool ok = internetQueryOption_ && internetQueryOption_(static_cast<HINTERNET>(handle),
                                                               option, buffer, &length) != FALSE;
  bufferLength = length;
  return ok;
}

bool WinInetInternet::HttpSendRequestA(InternetHandle request, const char* headers,
                                       std::uint32_t headersLength, void* optional,
                                       std::uint32_t optionalLength) {
  return httpSendRequest_ && httpSendRequest_(static_cast<HINTERNET>(request), headers,
                                              headersLength, optional, optionalLength) != FALSE;
}

// The dialog asks for the login and puts what was typed on the request.
std::uint32_t WinInetInternet::InternetErrorDlg(InternetHandle request, std::uint32_t error,
                                                std::uint32_t flags) {
  if (!internetErrorDlg_) return ERROR_CANCELLED;
  return internetErrorDlg_(owner_, static_cast<HINTERNET>(request), error, flags, nullptr);
}

std::uint32_t WinInetInternet::GetLastError() {
  return ::GetLastError();
}

}  // namespace orvane::win32
