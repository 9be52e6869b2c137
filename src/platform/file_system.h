// The seam to the file system. Paths are UTF-8 here; the Windows side turns
// them into UTF-16 so folders with Vietnamese letters work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orvane {

// A file open for writing raw bytes from its first byte on.
class OutputFile {
 public:
  virtual ~OutputFile() = default;  // closes the file if still open
  virtual bool Write(const void* data, std::size_t size) = 0;
  virtual bool Close() = 0;  // false when the last bytes could not be flushed
};

// A file held open for reading and shared with readers only: while it is
// held no other process can write, delete or rename it, so what is checked
// through it is what stays there.
class HeldFile {
 public:
  virtual ~HeldFile() = default;  // lets go of the file
  // The subject name (CN) of the certificate that signed the file, when the
  // signature covers the file as it is and its chain is trusted; nullopt for
  // an unsigned, altered or untrusted file.
  virtual std::optional<std::string> VerifiedSigner() = 0;
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
  // A folder itself: neither a file nor a link or junction to another place.
  virtual bool IsRealFolder(const std::string& path) = 0;
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
};

}  // namespace orvane
