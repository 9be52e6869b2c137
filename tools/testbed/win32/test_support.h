// What the Win32 tests (tests/win32) share: a scratch folder of their own
// inside Wine, a file's bytes, what tools/testbed/win32_tests.py tells them
// and serves them, and probes of what the system holds. Their main() is here
// too.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace orvane::win32::testing {

// A fresh folder in the temporary folder, its name with a Vietnamese letter
// so that paths go through the wide-character calls; gone at the end with
// all it holds.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  // A name inside it, UTF-8, spelt as the system spells the folder.
  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

 private:
  std::string folder_;
};

// The whole file, read sharing everything; "<none>" when it can't be opened.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// A setting the runner passes in the environment; the test fails without it.
std::string Setting(const char* name);

// The address of a path on the test product server the runner started.
std::string ServerUrl(const std::string& path);
// The bytes of the files the runner serves, from `from` on: each tells its
// place and its block of 4096, so that a block out of place shows.
inline constexpr std::size_t kServedSize = 2'000'000;
std::string ServedBytes(std::size_t from);

// What another program, itself sharing everything, may do with a file:
// open it for `access`, or rename it.
bool OthersOpen(const std::string& path, DWORD access);
bool OthersRename(const std::string& path);
// The handles this process holds.
int OpenHandles();
// Puts the address in WinINet's cache, as a browser's fetch of it would; and
// whether the cache holds it.
void CacheAsABrowserWould(const std::string& url);
bool InCache(const std::string& url);
// The folder a loaded module (the program itself for null) was loaded from.
std::wstring FolderOf(HMODULE module);

}  // namespace orvane::win32::testing
