// The seam to the file system. Paths are UTF-8 here; the Windows side turns
// them into UTF-16 so folders with Vietnamese letters work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// A file open for writing raw bytes from its first byte on.
class OutputFile {
 public:
  virtual ~OutputFile() = default;  // closes the file if still open
  virtual bool Write(const void* data, std::size_t size) = 0;
  virtual bool Close() = 0;  // false when the last bytes could not be flushed
};

// What the check of a file's signature found.
struct Signature {
  // The subject name (CN) of the certificate that signed the file, when the
  // signature covers the file as it is, its chain is trusted and none of it
  // is revoked; none for an unsigned, altered, untrusted or revoked file.
  std::optional<std::string> signer;
  bool revoked = false;
  // Whether the chain is revoked could not be looked up (offline): the
  // signer is given all the same.
  bool revocationUnknown = false;
};

// A file held open for reading and shared with readers only: while it is
// held no other process can write, delete or rename it, so what is checked
// through it is what stays there.
class HeldFile {
 public:
  virtual ~HeldFile() = default;  // lets go of the file
  virtual Signature CheckSignature() = 0;
  // The path the system itself has for the file held, every link on the
  // way resolved: what is started is named by it. "" when unknown.
  virtual std::string FinalPath() = 0;
};

// A folder held open, shared for reading and writing but not for deleting:
// while it is held neither it nor a folder above it can be renamed, moved or
// replaced by a link.
class HeldFolder {
 public:
  virtual ~HeldFolder() = default;  // lets go of the folder
  // The path the system has for the folder held; "" when unknown.
  virtual std::string FinalPath() = 0;
};

// A file kept open for the whole run, written at its end only, and cut back
// in place: nothing can be put in its place while the program runs.
class LogFile {
 public:
  virtual ~LogFile() = default;
  virtual std::optional<std::uint64_t> Length() = 0;
  // Its bytes from `offset` to its end; nullopt when they can't be read.
  virtual std::optional<std::string> ReadFrom(std::uint64_t offset) = 0;
  virtual bool Append(std::string_view text) = 0;
  // Makes `text` the whole file: written from its first byte, the rest cut off.
  virtual bool Rewrite(std::string_view text) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // An ordinary file: not a folder, neither hidden nor a system file.
  virtual bool FileExists(const std::string& path) = 0;
  // Anything of that name: file or folder, whatever its attributes.
  virtual bool PathExists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // A folder itself: neither a file nor a link, junction or mount point that
  // names another place.
  virtual bool IsRealFolder(const std::string& path) = 0;
  // Creates a folder, or takes over the one of that name, that only
  // administrators and the system may write in and users may read; false
  // when it can't, or the name is a link, junction or mount point.
  virtual bool CreateProtectedFolder(const std::string& path) = 0;
  // Creates the file anew after removing whatever file or link had its name,
  // so nothing is written through a link; null when it can't be created.
  virtual std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) = 0;
  // Opens an existing file, not a link, to write on after its last byte;
  // null when it can't be opened or does not hold exactly `length` bytes.
  virtual std::unique_ptr<OutputFile> OpenForAppending(const std::string& path,
                                                       std::uint64_t length) = 0;
  virtual std::optional<std::uint64_t> FileLength(const std::string& path) = 0;
  // The file's bytes from `offset` to its end; nullopt when it can't be read.
  virtual std::optional<std::string> ReadFrom(const std::string& path, std::uint64_t offset) = 0;
  // Puts `from` in the place of `to` in one step, replacing what stood there.
  virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  // Holds an existing ordinary file, not a link, as HeldFile says; null when
  // it can't be (missing, a link, or open for writing).
  virtual std::unique_ptr<HeldFile> Hold(const std::string& path) = 0;
  // Holds an existing folder, reached through any links the path names, as
  // HeldFolder says; null when it can't be.
  virtual std::unique_ptr<HeldFolder> HoldFolder(const std::string& path) = 0;
  // Opens the file, creating it when missing, as LogFile says; null when it
  // can't be, or the name is a link.
  virtual std::unique_ptr<LogFile> OpenLog(const std::string& path) = 0;
};

}  // namespace orvane
