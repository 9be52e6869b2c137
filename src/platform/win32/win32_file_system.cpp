#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <utility>

#include "platform/win32/unique_handle.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_held_file.h"
#include "platform/win32/win32_log_file.h"

namespace orvane::win32 {

namespace {

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(FileHandle file) : file_(std::move(file)) {}
  bool Write(const void* data, std::size_t size) override {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      DWORD written = 0;
      const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      if (!WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written == 0) return false;
      bytes += written;
      size -= written;
    }
    return true;
  }
  bool Close() override {
    if (!file_) return true;
    return CloseHandle(file_.release()) != FALSE;
  }

 private:
  FileHandle file_;
};

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str());
}

}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

bool Win32FileSystem::PathExists(const std::string& path) {
  return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) != FALSE;
}

// Asked of the name itself, not of where a link leads.
bool Win32FileSystem::IsRealFolder(const std::string& path) {
  const FileHandle folder(
      CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  return folder && GetFileInformationByHandle(folder.get(), &information) &&
         (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         !IsNameSurrogate(folder.get());
}

bool Win32FileSystem::CreateProtectedFolder(const std::string& path) {
  return win32::CreateProtectedFolder(Widen(path));
}

// Removing the name first takes away a link as well (DeleteFile removes the
// link, not what it points to); CREATE_NEW then fails rather than follow
// one that another process put there meanwhile.
std::unique_ptr<OutputFile> Win32FileSystem::OpenForWriting(const std::string& path) {
  const std::wstring name = Widen(path);
  DeleteFileW(name.c_str());
  FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

// The length is read from the open handle, so it is that of the very file
// the next bytes go to. A link is opened as itself and refused.
std::unique_ptr<OutputFile> Win32FileSystem::OpenForAppending(const std::string& path,
                                                              std::uint64_t length) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  LARGE_INTEGER size{};
  if (!file || IsLinkOrFolder(file.get()) || !GetFileSizeEx(file.get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) != length)
    return nullptr;
  const LARGE_INTEGER none{};
  if (!SetFilePointerEx(file.get(), none, nullptr, FILE_END)) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

std::optional<std::uint64_t> Win32FileSystem::FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Others may go on writing the file meanwhile: the bytes read are those
// there were when it was opened. More than 1 GiB is not read at all.
std::optional<std::string> Win32FileSystem::ReadFrom(const std::string& path,
                                                     std::uint64_t offset) {
  const FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{}, from{};
  from.QuadPart = static_cast<LONGLONG>(offset);
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < from.QuadPart ||
      size.QuadPart - from.QuadPart > 0x40000000 ||
      !SetFilePointerEx(file.get(), from, nullptr, FILE_BEGIN))
    return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart - from.QuadPart), '\0');
  for (std::size_t done = 0; done < bytes.size();) {
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read,
                  nullptr) ||
        read == 0)
      return std::nullopt;
    done += read;
  }
  return bytes;
}

bool Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::unique_ptr<HeldFile> Win32FileSystem::Hold(const std::string& path) {
  return Win32HeldFile::Open(Widen(path));
}

namespace {

class Win32HeldFolder : public HeldFolder {
 public:
  explicit Win32HeldFolder(FileHandle folder) : folder_(std::move(folder)) {}
  std::string FinalPath() override { return FinalPathOf(folder_.get()); }

 private:
  FileHandle folder_;
};

}  // namespace

// Links on the way are followed: the user chose the folder through them, and
// from here it is held where they led. Without FILE_SHARE_DELETE nobody can
// rename or remove it, nor a folder above it, while it is held.
std::unique_ptr<HeldFolder> Win32FileSystem::HoldFolder(const std::string& path) {
  FileHandle folder(CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!folder || !GetFileInformationByHandle(folder.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return nullptr;
  return std::make_unique<Win32HeldFolder>(std::move(folder));
}

std::unique_ptr<LogFile> Win32FileSystem::OpenLog(const std::string& path) {
  return OpenLogFile(Widen(path));
}

}  // namespace orvane::win32
