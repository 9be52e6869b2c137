#include "platform/win32/wininet_api.h"

#include <type_traits>

#include "platform/win32/system_library.h"

namespace orvane::win32 {

namespace {

template <typename Pointer>
Pointer Resolve(const Module& module, const char* name) {
  return EntryPoint<std::remove_pointer_t<Pointer>>(module.get(), name);
}

}  // namespace

WinInetApi::WinInetApi()
    : module(LoadSystemLibrary(L"wininet.dll")),
      deleteUrlCacheEntry(Resolve<decltype(deleteUrlCacheEntry)>(module, "DeleteUrlCacheEntryA")),
      internetOpen(Resolve<decltype(internetOpen)>(module, "InternetOpenA")),
      setStatusCallback(Resolve<decltype(setStatusCallback)>(module, "InternetSetStatusCallbackA")),
      internetOpenUrl(Resolve<decltype(internetOpenUrl)>(module, "InternetOpenUrlA")),
      httpQueryInfo(Resolve<decltype(httpQueryInfo)>(module, "HttpQueryInfoA")),
      internetReadFile(Resolve<decltype(internetReadFile)>(module, "InternetReadFile")),
      internetCloseHandle(Resolve<decltype(internetCloseHandle)>(module, "InternetCloseHandle")),
      internetSetOption(Resolve<decltype(internetSetOption)>(module, "InternetSetOptionA")),
      internetQueryOption(Resolve<decltype(internetQueryOption)>(module, "InternetQueryOptionA")),
      httpSendRequest(Resolve<decltype(httpSendRequest)>(module, "HttpSendRequestA")),
      internetErrorDlg(Resolve<decltype(internetErrorDlg)>(module, "InternetErrorDlg")) {}

bool WinInetApi::Loaded() const {
  return deleteUrlCacheEntry && internetOpen && setStatusCallback && internetOpenUrl &&
         httpQueryInfo && internetReadFile && internetCloseHandle && internetSetOption &&
         internetQueryOption && httpSendRequest && internetErrorDlg;
}

}  // namespace orvane::win32
