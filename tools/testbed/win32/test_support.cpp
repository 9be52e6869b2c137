#include "win32/test_support.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>

#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"

namespace orvane::win32::testing {

ScratchFolder::ScratchFolder() {
  std::wstring temp(MAX_PATH, L'\0');
  temp.resize(GetTempPathW(MAX_PATH, temp.data()));
  // The long form: the paths the system hands back are compared with it.
  temp.resize(GetLongPathNameW(temp.c_str(), temp.data(), MAX_PATH));
  std::wstring folder;
  for (int number = 1;; ++number) {
    folder = temp + L"orvane th\u1eed " + std::to_wstring(number);
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  folder_ = Narrow(folder);
}

ScratchFolder::~ScratchFolder() {
  std::wstring from = Widen(folder_) + L'\0';  // the list ends in two zeros
  SHFILEOPSTRUCTW remove{};
  remove.wFunc = FO_DELETE;
  remove.pFrom = from.c_str();
  remove.fFlags = FOF_NO_UI;
  SHFileOperationW(&remove);
}

std::string ReadBytes(const std::string& path) {
  const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  if (!file) return "<none>";
  std::string bytes;
  char block[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), block, sizeof block, &read, nullptr) && read > 0)
    bytes.append(block, read);
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  const FileHandle file(
      CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  ASSERT_TRUE(file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                &written, nullptr));
}

std::string Setting(const char* name) {
  const char* value = std::getenv(name);
  EXPECT_TRUE(value) << name << " is set by tools/testbed/win32_tests.py";
  return value ? value : "";
}

std::string ServerUrl(const std::string& path) {
  return "http://" + Setting("ORVANE_TEST_SERVER") + path;
}

std::string ServedBytes(std::size_t from) {
  std::string bytes;
  for (std::size_t at = from; at < kServedSize; ++at)
    bytes += static_cast<char>((at / 4096 + at) % 251);
  return bytes;
}

bool OthersOpen(const std::string& path, DWORD access) {
  return static_cast<bool>(FileHandle(CreateFileW(
      Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, 0, nullptr)));
}

bool OthersRename(const std::string& path) {
  return MoveFileW(Widen(path).c_str(), Widen(path + ".moved").c_str()) != FALSE;
}

// Each handle value tried in turn.
int OpenHandles() {
  int count = 0;
  DWORD flags = 0;
  for (ULONG_PTR value = 4; value < 0x4000; value += 4)
    count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
  return count;
}

void CacheAsABrowserWould(const std::string& url) {
  const HINTERNET browser =
      InternetOpenA("browser", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  char block[65536];
  DWORD read = 0;
  for (HINTERNET cached = InternetOpenUrlA(browser, url.c_str(), nullptr, 0, 0, 0);
       InternetReadFile(cached, block, sizeof block, &read) && read > 0;)
    continue;
  InternetCloseHandle(browser);  // and its request with it
}

bool InCache(const std::string& url) {
  DWORD size = 0;
  return GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size) ||
         GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

std::wstring FolderOf(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(module, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\'));
}

}  // namespace orvane::win32::testing

// A crash ends the run at once, said so, rather than waiting in the system's debugger.
LONG WINAPI Crashed(EXCEPTION_POINTERS* exception) {
  std::fprintf(stderr, "crashed with exception %#lx\n", exception->ExceptionRecord->ExceptionCode);
  std::fflush(stderr);
  return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(Crashed);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
