#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

// CreateProcess's answer for a program whose manifest asks for more rights.
constexpr DWORD kElevationRequired = 740;

}  // namespace

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

// The program is named as the application itself, so nothing is searched on
// PATH; its command line holds only its own quoted name (no arguments). It
// inherits this program's rights; one whose manifest asks for more than
// that goes through the shell, which asks the user.
StartOutcome Win32Processes::StartProgram(const std::string& path) {
  const std::wstring application = Widen(path);
  std::wstring commandLine = L"\"" + application + L"\"";
  const std::wstring folder = application.substr(0, application.find_last_of(L"\\/") + 1);
  const wchar_t* workingFolder = folder.empty() ? nullptr : folder.c_str();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     workingFolder, &startup, &process)) {
    FileHandle processHandle(process.hProcess);
    FileHandle threadHandle(process.hThread);
    return StartOutcome::Started;
  }
  if (GetLastError() != kElevationRequired) return StartOutcome::Failed;

  SHELLEXECUTEINFOW shell{};
  shell.cbSize = sizeof(shell);
  shell.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  shell.lpFile = application.c_str();
  shell.lpDirectory = workingFolder;
  shell.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExW(&shell)) return StartOutcome::Started;
  return GetLastError() == ERROR_CANCELLED ? StartOutcome::Declined : StartOutcome::Failed;
}

// At once, as the user asked: a download's worker may be inside WinINet,
// and ExitProcess, which ends such threads wherever they stand and then lets
// every DLL clean up, can wait for ever on a lock one of them held.
void Win32Processes::EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
}

}  // namespace orvane::win32
