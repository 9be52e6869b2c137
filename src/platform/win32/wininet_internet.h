// The internet seam on WinINet: each fetch's blocking calls run on worker
// threads of its own while the window's thread waits in a message-aware
// wait, so the window answers whatever the line or the server does. The
// system's login dialog, the cache purge and every answer's headers stay on
// the window's thread.
#pragma once

#include <windows.h>

#include "platform/internet.h"
#include "platform/win32/wininet_api.h"

namespace orvane::win32 {

class FetchJob;

class WinInetInternet : public Internet {
 public:
  FetchResult Fetch(const FetchRequest& request, FetchSink& sink) override;

  // The window the login dialog belongs to.
  void SetDialogOwner(HWND owner) { owner_ = owner; }

 private:
  FetchResult Converse(FetchJob& job, const FetchRequest& request, FetchSink& sink);

  WinInetApi api_;
  HWND owner_ = nullptr;
};

}  // namespace orvane::win32
