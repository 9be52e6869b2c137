// Shows the real main window and switches its panel on command, so a test
// can take a screenshot of each. Each stdin line is a panel value ("-" for
// the home panel's empty value); "shown <value>" answers once it is switched.
// The window keeps its message loop turning meanwhile, so it paints as usual.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "platform/win32/application.h"

namespace {

constexpr UINT kShowPanel = WM_APP + 1;  // lParam: a std::string* the loop takes over

}  // namespace

int main() {
  orvane::win32::Application application(GetModuleHandleW(nullptr));
  if (!application.Start()) return 1;

  const DWORD uiThread = GetCurrentThreadId();
  std::thread reader([uiThread] {
    std::string line;
    while (std::getline(std::cin, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      PostThreadMessageW(uiThread, kShowPanel, 0, reinterpret_cast<LPARAM>(new std::string(line)));
    }
    PostThreadMessageW(uiThread, WM_QUIT, 0, 0);
  });
  reader.detach();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kShowPanel) {
      std::string* value = reinterpret_cast<std::string*>(message.lParam);
      application.Form().Layout_Setting(*value == "-" ? std::string() : *value);
      RedrawWindow(application.Window().Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      std::printf("shown %s\n", value->c_str());
      std::fflush(stdout);
      delete value;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
