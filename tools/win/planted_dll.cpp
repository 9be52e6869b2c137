// A DLL of a system name left beside a program, as a stray download could
// be: on load it appends "<its own path>" to "planted.log" in its folder,
// and its entry points fail. Built as wininet.dll, msimg32.dll, xmllite.dll
// and gdiplus.dll for the test that no such DLL is ever loaded.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void RecordLoad(HMODULE self) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring log(path, length);
  log = log.substr(0, log.find_last_of(L"\\/") + 1) + L"planted.log";
  if (FILE* file = _wfopen(log.c_str(), L"a")) {
    std::fwprintf(file, L"%ls\n", path);
    std::fclose(file);
  }
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) RecordLoad(self);
  return TRUE;
}

// The entry points the program would take from the real DLLs, failing.
BOOL WINAPI PlantedDeleteUrlCacheEntryA(LPCSTR) {
  return FALSE;
}
void* WINAPI PlantedInternetOpenA(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) {
  return nullptr;
}
void* WINAPI PlantedInternetOpenUrlA(void*, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) {
  return nullptr;
}
BOOL WINAPI PlantedHttpQueryInfoA(void*, DWORD, void*, DWORD*, DWORD*) {
  return FALSE;
}
BOOL WINAPI PlantedInternetReadFile(void*, void*, DWORD, DWORD*) {
  return FALSE;
}
BOOL WINAPI PlantedInternetCloseHandle(void*) {
  return FALSE;
}
BOOL WINAPI PlantedAlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION) {
  return FALSE;
}
HRESULT WINAPI PlantedCreateXmlReader(const IID&, void**, void*) {
  return E_FAIL;
}

}  // extern "C"
