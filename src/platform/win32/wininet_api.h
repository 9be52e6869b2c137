// WinINet's ANSI entry points, loaded from the system folder when the first
// object is made, so a wininet.dll beside the program is never used.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

struct WinInetApi {
  WinInetApi();
  // False when WinINet could not be loaded: every fetch then fails.
  bool Loaded() const;

  Module module;
  decltype(&::DeleteUrlCacheEntryA) deleteUrlCacheEntry;
  decltype(&::InternetOpenA) internetOpen;
  decltype(&::InternetSetStatusCallbackA) setStatusCallback;
  decltype(&::InternetOpenUrlA) internetOpenUrl;
  decltype(&::HttpQueryInfoA) httpQueryInfo;
  decltype(&::InternetReadFile) internetReadFile;
  decltype(&::InternetCloseHandle) internetCloseHandle;
  decltype(&::InternetSetOptionA) internetSetOption;
  decltype(&::InternetQueryOptionA) internetQueryOption;
  decltype(&::HttpSendRequestA) httpSendRequest;
  decltype(&::InternetErrorDlg) internetErrorDlg;
};

}  // namespace orvane::win32
