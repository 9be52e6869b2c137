// Win32FileSystem on real files (what Wine can't show is in the README).
#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "platform/win32/utf.h"
#include "platform/win32/win32_file_system.h"
#include "win32/test_support.h"

namespace orvane::win32 {
namespace {

using testing::OthersOpen;
using testing::OthersRename;

class Files : public ::testing::Test {
 protected:
  testing::ScratchFolder folder;
  Win32FileSystem files;
  const std::string file = folder.Path("install.exe");
};

TEST_F(Files, AFileIsWrittenAnewAppendedToAtItsEndAndMovedOverAnother) {
  testing::WriteBytes(file, "an older, longer installer");
  const auto written = files.OpenForWriting(file);
  ASSERT_TRUE(written && written->Write("12345", 5) && written->Close());
  EXPECT_EQ(files.OpenForAppending(file, 4), nullptr) << "received 4 bytes, it holds 5";
  EXPECT_EQ(files.OpenForAppending(folder.Path("missing"), 0), nullptr);
  const auto appended = files.OpenForAppending(file, 5);
  ASSERT_TRUE(appended && appended->Write("678", 3) && appended->Close());
  EXPECT_EQ(testing::ReadBytes(file), "12345678");
  EXPECT_EQ(files.ReadFrom(file, 6), "78");
  testing::WriteBytes(folder.Path("new"), "new");
  EXPECT_TRUE(files.MoveReplacing(folder.Path("new"), file));
  EXPECT_EQ(testing::ReadBytes(file), "new");
  ASSERT_TRUE(files.CreateFolder(folder.Path("taken")));
  EXPECT_EQ(files.OpenForWriting(folder.Path("taken")), nullptr) << "a folder in the way stays";
}

TEST_F(Files, AnOrdinaryFileAndARealFolderAreToldFromTheRest) {
  const std::string hidden = folder.Path("hidden.exe"), sub = folder.Path("Orvane");
  testing::WriteBytes(file, "");
  testing::WriteBytes(hidden, "");
  SetFileAttributesW(Widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(files.CreateFolder(sub));
  EXPECT_EQ(std::tuple(files.FileExists(file), files.FileExists(hidden), files.FileExists(sub),
                       files.PathExists(hidden), files.IsRealFolder(sub), files.IsRealFolder(file)),
            std::tuple(true, false, false, true, true, false));
}

TEST_F(Files, AHeldFileIsOnlyReadAndAHeldFolderNamedAsTheSystemHasIt) {
  testing::WriteBytes(file, "a program");
  auto held = files.Hold(file);
  ASSERT_TRUE(held);
  EXPECT_EQ(held->FinalPath(), file);
  EXPECT_EQ(std::tuple(OthersOpen(file, GENERIC_READ), OthersOpen(file, GENERIC_WRITE),
                       OthersRename(file)),
            std::tuple(true, false, false));
  held.reset();
  EXPECT_TRUE(OthersRename(file)) << "let go, it is anyone's again";
  const std::string installation = folder.Path("Ph\xe1\xba\xa7n m\xe1\xbb\x81m");
  ASSERT_TRUE(files.CreateFolder(installation));
  const auto heldFolder = files.HoldFolder(installation);
  EXPECT_EQ(heldFolder ? heldFolder->FinalPath() : "none", installation);
  EXPECT_EQ(files.HoldFolder(file + ".moved"), nullptr) << "a file";
}

TEST_F(Files, TheLogGoesOnAtItsEndIsCutBackInPlaceAndStaysPutInItsProtectedFolder) {
  const std::string logs = folder.Path("Logs"), path = logs + "\\OrvaneSetup.log";
  testing::WriteBytes(file, "");
  EXPECT_TRUE(files.CreateProtectedFolder(logs));
  EXPECT_TRUE(files.CreateProtectedFolder(logs)) << "one made before, by anyone, is taken over";
  EXPECT_FALSE(files.CreateProtectedFolder(file));
  testing::WriteBytes(path, "old line\r\n");
  const auto log = files.OpenLog(path);
  ASSERT_TRUE(log);
  EXPECT_TRUE(log->Append("new line\r\n"));
  EXPECT_EQ(log->ReadFrom(4), "line\r\nnew line\r\n");
  EXPECT_EQ(std::tuple(OthersOpen(path, GENERIC_READ), OthersRename(path)),
            std::tuple(true, false));
  EXPECT_TRUE(log->Rewrite("kept\r\n") && log->Append("next\r\n"));
  EXPECT_EQ(testing::ReadBytes(path), "kept\r\nnext\r\n");
}

}  // namespace
}  // namespace orvane::win32
