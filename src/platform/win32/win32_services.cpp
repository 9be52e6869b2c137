#include "platform/win32/win32_services.h"

#include <cstring>

#include "platform/win32/form_window.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

double SecondsBetween(const LARGE_INTEGER& earlier, const LARGE_INTEGER& later) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(later.QuadPart - earlier.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

}  // namespace

bool Win32UserInterface::Dispatch(MSG& message) {
  // IsDialogMessage gives the text boxes Tab and Shift+Tab.
  if (main_ && IsDialogMessageW(main_->Handle(), &message)) return true;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

void Win32UserInterface::DoEvents() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (lastPass_.QuadPart != 0 && SecondsBetween(lastPass_, now) < minimumPassSeconds_) return;
  ++passesRun_;
  if (main_) main_->FlushRepaint();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit for the main loop, which ends the program with it.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
  }
  QueryPerformanceCounter(&lastPass_);
  passSeconds_ += SecondsBetween(now, lastPass_);
}

int Win32UserInterface::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

int Win32UserInterface::ShowMessage(const std::string& text, const std::string& title, int style) {
  HWND owner = main_ ? main_->Handle() : nullptr;
  return MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(),
                     static_cast<UINT>(style) | MB_OK);
}

bool Win32UserInterface::GetCursorPos(Point& point) {
  POINT position{};
  const bool ok = ::GetCursorPos(&position) != FALSE;
  point = {position.x, position.y};
  return ok;
}

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

bool Win32SystemInfo::GetVersionExA(OsVersionInfo& info) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = info.osVersionInfoSize;
  // GetVersionExA is deprecated in newer SDKs but is exactly the query meant.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool ok = ::GetVersionExA(&version) != FALSE;
#pragma GCC diagnostic pop
  info.majorVersion = version.dwMajorVersion;
  info.minorVersion = version.dwMinorVersion;
  info.buildNumber = version.dwBuildNumber;
  info.platformId = version.dwPlatformId;
  std::memcpy(info.csdVersion, version.szCSDVersion, sizeof(info.csdVersion));
  return ok;
}

std::string Win32SystemInfo::ThousandsSeparator() {
  wchar_t separator[8] = {};
  if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8)) return ",";
  return Narrow(separator);
}

namespace {

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(FileHandle file) : file_(std::move(file)) {}
  bool Write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      DWORD written = 0;
      const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written == 0) return false;
      bytes += written;
      size -= written;
    }
    return true;
  }
  bool Close() override {
    if (!file_) return true;
    return CloseHandle(file_.release()) != FALSE;
  }

 private:
  FileHandle file_;
};

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str());
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool Win32FileSystem::PathExists(const std::string& path) {
  return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenForWriting(const std::string& path) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

std::optional<std::uint64_t> Win32FileSystem::FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace orvane::win32
