// Loads a DLL by its bare name, as a program without a restricted DLL
// search would: shows that a DLL planted beside a program is found first.
// Usage: bare_load.exe xmllite.dll   Exit code 0 when something was loaded.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  return argc == 2 && LoadLibraryW(argv[1]) ? 0 : 1;
}
