#include "platform/win32/win32_processes.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <utility>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

// CreateProcess's answer for a program whose manifest asks for more rights.
constexpr DWORD kElevationRequired = 740;

// Windows 10's image-load policies, named here as the headers name them only
// for Windows 10 builds: DLLs from the system folder before the program's
// own, and none from a remote (network) place.
constexpr DWORD64 kPreferSystem32Images = 0x1ULL << 60;
constexpr DWORD64 kNoRemoteImages = 0x1ULL << 52;

// The attribute list that gives a new process those policies; null where the
// system refuses it (before Windows 10 it may take it and refuse the start).
class SystemFirstAttributes {
 public:
  SystemFirstAttributes() {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
    list_ = list;
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_MITIGATION_POLICY, &policy_,
                                   sizeof policy_, nullptr, nullptr)) {
      DeleteProcThreadAttributeList(std::exchange(list_, nullptr));
    }
  }
  SystemFirstAttributes(const SystemFirstAttributes&) = delete;
  SystemFirstAttributes& operator=(const SystemFirstAttributes&) = delete;
  ~SystemFirstAttributes() {
    if (list_) DeleteProcThreadAttributeList(list_);
  }
  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  DWORD64 policy_ = kPreferSystem32Images | kNoRemoteImages;
  std::vector<char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

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
// A system that takes the DLL policy but can't apply it refuses the start as
// an invalid parameter: the program then starts as by default.
StartOutcome Win32Processes::StartProgram(const std::string& path, DllSources sources) {
  const std::wstring application = Widen(path);
  std::wstring commandLine = L"\"" + application + L"\"";
  const std::wstring folder = application.substr(0, application.find_last_of(L"\\/") + 1);
  const wchar_t* workingFolder = folder.empty() ? nullptr : folder.c_str();
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof(startup.StartupInfo);
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_SHOWNORMAL;
  const std::optional<SystemFirstAttributes> attributes =
      sources == DllSources::SystemFirst ? std::make_optional<SystemFirstAttributes>()
                                         : std::nullopt;
  // The error of the start, none when it started; its handles are closed at once.
  auto start = [&](LPPROC_THREAD_ATTRIBUTE_LIST list) -> DWORD {
    startup.StartupInfo.cb = list ? sizeof(startup) : sizeof(startup.StartupInfo);
    startup.lpAttributeList = list;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        list ? EXTENDED_STARTUPINFO_PRESENT : 0, nullptr, workingFolder,
                        &startup.StartupInfo, &process))
      return GetLastError();
    const KernelHandle processHandle(process.hProcess);
    const KernelHandle threadHandle(process.hThread);
    return ERROR_SUCCESS;
  };
  LPPROC_THREAD_ATTRIBUTE_LIST list = attributes ? attributes->get() : nullptr;
  DWORD refused = start(list);
  if (list && (refused == ERROR_INVALID_PARAMETER || refused == ERROR_NOT_SUPPORTED))
    refused = start(nullptr);
  if (refused == ERROR_SUCCESS) return StartOutcome::Started;
  if (refused != kElevationRequired) return StartOutcome::Failed;

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
