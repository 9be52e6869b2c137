// DLLs come from the system folder only. The program is run from wherever it
// was downloaded to, where anyone may have left a DLL of a system name.
#pragma once

#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

// First thing at start: every later load by bare name, the system's own on
// the program's behalf included, searches the system folder only.
void RestrictDllSearchToSystemFolder();

// Loads a DLL that is not one of the system's known DLLs from the system
// folder; null when it isn't there.
Module LoadSystemLibrary(const wchar_t* name);

// The named entry point of a loaded DLL, or null.
template <typename Function>
Function* EntryPoint(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

}  // namespace orvane::win32
