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

  Signature CheckSignature() override;
  std::string FinalPath() override;

 private:
  Win32HeldFile(std::wstring path, FileHandle file)
      : path_(std::move(path)), file_(std::move(file)) {}

  std::wstring path_;
  FileHandle file_;
};

// Whether the handle (opened with FILE_FLAG_OPEN_REPARSE_POINT) is that of a
// link, junction or mount point, which names another place. Other reparse
// points (a cloud file's placeholder, a deduplicated file) are the file itself.
bool IsNameSurrogate(HANDLE file);

// Whether the handle is that of a folder or of a link to another place, or
// can't be asked.
bool IsLinkOrFolder(HANDLE file);

// The path the system has for what the handle holds, every link on the way
// resolved, in the form "C:\..." or "\\server\share\..."; "" when unknown.
std::string FinalPathOf(HANDLE handle);

}  // namespace orvane::win32
