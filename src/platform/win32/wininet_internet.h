// The internet seam on WinINet's ANSI entry points, one call per method.
// WinINet is loaded from the system folder when the first object is made, so
// a wininet.dll beside the program is never used.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "platform/internet.h"
#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

class WinInetInternet : public Internet {
 public:
  WinInetInternet();

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
  bool InternetSetOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                          std::uint32_t bufferLength) override;
  bool InternetQueryOptionA(InternetHandle handle, std::uint32_t option, void* buffer,
                            std::uint32_t& bufferLength) override;
  bool HttpSendRequestA(InternetHandle request, const char* headers, std::uint32_t headersLength,
                        void* optional, std::uint32_t optionalLength) override;
  std::uint32_t InternetErrorDlg(InternetHandle request, std::uint32_t error,
                                 std::uint32_t flags) override;
  std::uint32_t GetLastError() override;

  // The window the error dialogs belong to.
  void SetDialogOwner(HWND owner) { owner_ = owner; }

 private:
  Module wininet_;
  // Null when WinINet could not be loaded: every call then fails.
  decltype(&::DeleteUrlCacheEntryA) deleteUrlCacheEntry_;
  decltype(&::InternetOpenA) internetOpen_;
  decltype(&::InternetOpenUrlA) internetOpenUrl_;
  decltype(&::HttpQueryInfoA) httpQueryInfo_;
  decltype(&::InternetReadFile) internetReadFile_;
  decltype(&::InternetCloseHandle) internetCloseHandle_;
  decltype(&::InternetSetOptionA) internetSetOption_;
  decltype(&::InternetQueryOptionA) internetQueryOption_;
  decltype(&::HttpSendRequestA) httpSendRequest_;
  decltype(&::InternetErrorDlg) internetErrorDlg_;
  HWND owner_ = nullptr;
};

}  // namespace orvane::win32
