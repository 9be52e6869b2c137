#include "platform/win32/win32_log_file.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <utility>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_held_file.h"

namespace orvane::win32 {

namespace {

// Owner and group: administrators. The system and administrators may do
// anything, users may read and list; the rules reach every file and folder
// below, and none is inherited from above (a folder a user made first would
// otherwise let that user in).
constexpr wchar_t kProtectedFolder[] =
    L"O:BAG:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)";

struct LocalMemoryTraits : NullIsInvalid<PSECURITY_DESCRIPTOR> {
  static void Close(PSECURITY_DESCRIPTOR memory) { LocalFree(memory); }
};
using SecurityDescriptor = UniqueHandle<LocalMemoryTraits>;

class Win32LogFile : public LogFile {
 public:
  explicit Win32LogFile(FileHandle file) : file_(std::move(file)) {}

  std::optional<std::uint64_t> Length() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::optional<std::string> ReadFrom(std::uint64_t offset) override {
    const std::optional<std::uint64_t> length = Length();
    if (!length || *length < offset || !MoveTo(offset, FILE_BEGIN)) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(*length - offset), '\0');
    for (std::size_t done = 0; done < bytes.size();) {
      DWORD read = 0;
      if (!ReadFile(file_.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                    &read, nullptr) ||
          read == 0)
        return std::nullopt;
      done += read;
    }
    return bytes;
  }

  bool Append(std::string_view text) override { return MoveTo(0, FILE_END) && Write(text); }

  bool Rewrite(std::string_view text) override {
    return MoveTo(0, FILE_BEGIN) && Write(text) && SetEndOfFile(file_.get()) != FALSE;
  }

 private:
  bool MoveTo(std::uint64_t offset, DWORD from) {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_.get(), distance, nullptr, from) != FALSE;
  }
  bool Write(std::string_view text) {
    DWORD written = 0;
    return WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                     nullptr) &&
           written == text.size();
  }

  FileHandle file_;
};

}  // namespace

// Opened as itself, never followed: a link somebody put there is refused.
std::unique_ptr<LogFile> OpenLogFile(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file || IsLinkOrFolder(file.get())) return nullptr;
  return std::make_unique<Win32LogFile>(std::move(file));
}

bool CreateProtectedFolder(const std::wstring& path) {
  PSECURITY_DESCRIPTOR made = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolder, SDDL_REVISION_1,
                                                            &made, nullptr))
    return false;
  const SecurityDescriptor security(made);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, security.get(), FALSE};
  if (CreateDirectoryW(path.c_str(), &attributes)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;

  // There already: a folder itself, whoever made it, is given the same
  // owner and rules; anything else is left alone and refused.
  const FileHandle folder(CreateFileW(
      path.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER, FILE_SHARE_READ | FILE_SHARE_WRITE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!folder || !GetFileInformationByHandle(folder.get(), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
      IsNameSurrogate(folder.get()))
    return false;
  PSID owner = nullptr;
  PACL rules = nullptr;
  BOOL defaulted = FALSE;
  BOOL present = FALSE;
  if (!GetSecurityDescriptorOwner(security.get(), &owner, &defaulted) ||
      !GetSecurityDescriptorDacl(security.get(), &present, &rules, &defaulted))
    return false;
  return SetSecurityInfo(folder.get(), SE_FILE_OBJECT,
                         OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                             PROTECTED_DACL_SECURITY_INFORMATION,
                         owner, nullptr, rules, nullptr) == ERROR_SUCCESS;
}

}  // namespace orvane::win32
