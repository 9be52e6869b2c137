// The file system on kernel32's wide-character calls, so paths with
// Vietnamese letters work.
#pragma once

#include "platform/file_system.h"

namespace orvane::win32 {

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override;
  bool PathExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool IsRealFolder(const std::string& path) override;
  bool CreateProtectedFolder(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                               std::uint64_t length) override;
  std::optional<std::uint64_t> FileLength(const std::string& path) override;
  std::optional<std::string> ReadFrom(const std::string& path, std::uint64_t offset) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  std::unique_ptr<HeldFile> Hold(const std::string& path) override;
  std::unique_ptr<HeldFolder> HoldFolder(const std::string& path) override;
  std::unique_ptr<LogFile> OpenLog(const std::string& path) override;
};

}  // namespace orvane::win32
