// Where DLLs of system names come from while one lies beside the program, as
// in a downloads folder: the runner plants an xmllite.dll there and has Wine
// prefer it to its own, as Windows does for a DLL it doesn't keep known.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/system_library.h"
#include "win32/test_support.h"

namespace orvane::win32 {
namespace {

// The search stays restricted for the rest of the run, as for the program's.
TEST(SystemLibrary, DllsComeFromTheSystemFolderWhateverLiesBesideTheProgram) {
  const std::wstring own = testing::FolderOf(nullptr);
  const std::wstring system = testing::FolderOf(GetModuleHandleW(L"kernel32.dll"));
  EXPECT_EQ(testing::FolderOf(LoadSystemLibrary(L"xmllite.dll").get()), system);
  EXPECT_EQ(testing::FolderOf(Module(LoadLibraryW(L"xmllite.dll")).get()), own)
      << "as it would be by name";
  RestrictDllSearchToSystemFolder();
  EXPECT_EQ(testing::FolderOf(Module(LoadLibraryW(L"xmllite.dll")).get()), system);
}

}  // namespace
}  // namespace orvane::win32
