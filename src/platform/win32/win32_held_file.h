// A file held sharing read only, and the check of its Authenticode
// signature through that very handle.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/win32/unique_handle.h"

namespace orvane::win32 {

class Win32HeldFile : public HeldFile {
 public:
  // Null for a missing file, a folder, a link, or one open for writing.
  static std::unique_ptr<HeldFile> Open(const std::wstring& path);

  std::optional<std::string> VerifiedSigner() override;

 private:
  Win32HeldFile(std::wstring path, FileHandle file)
      : path_(std::move(path)), file_(std::move(file)) {}

  std::wstring path_;
  FileHandle file_;
};

// Whether the handle is that of a link or junction rather than of a file
// itself (opened with FILE_FLAG_OPEN_REPARSE_POINT), or can't be asked.
bool IsLinkOrFolder(HANDLE file);

}  // namespace orvane::win32
