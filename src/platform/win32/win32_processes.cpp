#include "platform/win32/win32_processes.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

std::string Win32Processes::ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);  // long paths: try a larger buffer
  }
}

bool Win32Processes::StartProgram(const std::string& path) {
  // The program is named as the application itself, so nothing is searched
  // on PATH; its command line holds only its own quoted name (no arguments).
  const std::wstring application = Widen(path);
  std::wstring commandLine = L"\"" + application + L"\"";
  std::wstring folder = application.substr(0, application.find_last_of(L"\\/") + 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return false;
  FileHandle processHandle(process.hProcess);
  FileHandle threadHandle(process.hThread);
  return true;
}

void Win32Processes::EndProcess() {
  ExitProcess(0);
}

}  // namespace orvane::win32
