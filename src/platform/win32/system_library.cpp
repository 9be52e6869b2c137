#include "platform/win32/system_library.h"

#include <string>

namespace orvane::win32 {

void RestrictDllSearchToSystemFolder() {
  // Looked up rather than imported: Windows 7 has it only with an update.
  auto setDefaultDirectories =
      EntryPoint<BOOL WINAPI(DWORD)>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Without it, at least the current folder leaves the search.
  SetDllDirectoryW(L"");
}

Module LoadSystemLibrary(const wchar_t* name) {
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
    return Module(module);
  // Without the search flags (Windows 7 before that update): the full path,
  // whose own folder then serves the DLL's dependencies.
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Module();
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return Module(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace orvane::win32
