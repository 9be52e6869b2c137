// An in-memory file system for the download engine's tests: files as byte
// strings, failures on demand, and open files that behave like Windows ones
// (they can be neither removed nor moved while open).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orvane::testing {

class MemoryFileSystem : public FileSystem {
 public:
  struct File {
    std::string bytes;
    std::uint64_t length = 0;  // equals bytes.size() unless only counting
  };

  std::map<std::string, File> files;
  std::vector<std::string> operations;  // every call but Write, with its path
  bool onlyCount = false;               // writes grow the length, keep no bytes
  std::set<std::string> unopenable;
  std::optional<std::uint64_t> writeFailsBeyond;  // a write past this length fails
  bool closeFails = false;
  bool moveFails = false;
  int openFiles = 0;

  void Put(const std::string& path, std::string bytes) { files[path] = {bytes, bytes.size()}; }
  std::optional<std::string> Contents(const std::string& path) const {
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second.bytes;
  }
  bool IsOpen(const std::string& path) const { return openPaths_.count(path) > 0; }

  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool PathExists(const std::string& path) override { return files.count(path) > 0; }
  bool CreateFolder(const std::string& path) override {
    operations.push_back("CreateFolder " + path);
    return true;
  }

  bool RemoveFile(const std::string& path) override {
    operations.push_back("RemoveFile " + path);
    if (IsOpen(path)) return false;
    return files.erase(path) > 0;
  }

  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override {
    operations.push_back("OpenForWriting " + path);
    if (unopenable.count(path) > 0 || IsOpen(path)) return nullptr;
    files[path] = {};
    return std::make_unique<MemoryOutputFile>(*this, path);
  }

  std::optional<std::uint64_t> FileLength(const std::string& path) override {
    operations.push_back("FileLength " + path);
    const auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second.length;
  }

  bool MoveReplacing(const std::string& from, const std::string& to) override {
    operations.push_back("MoveReplacing " + from + " -> " + to);
    if (moveFails || IsOpen(from) || IsOpen(to) || files.count(from) == 0) return false;
    File moved = std::move(files[from]);
    files.erase(from);
    files[to] = std::move(moved);
    return true;
  }

 private:
  class MemoryOutputFile : public OutputFile {
   public:
    MemoryOutputFile(MemoryFileSystem& owner, std::string path)
        : owner_(owner), path_(std::move(path)) {
      owner_.openPaths_.insert(path_);
      ++owner_.openFiles;
    }
    ~MemoryOutputFile() override { Release(); }

    bool Write(const void* data, std::size_t size) override {
      File& file = owner_.files[path_];
      if (!open_ || (owner_.writeFailsBeyond && file.length + size > *owner_.writeFailsBeyond)) {
        return false;
      }
      if (!owner_.onlyCount) file.bytes.append(static_cast<const char*>(data), size);
      file.length += size;
      return true;
    }
    bool Close() override {
      owner_.operations.push_back("Close " + path_);
      Release();
      return !owner_.closeFails;
    }

   private:
    void Release() {
      if (!open_) return;
      open_ = false;
      owner_.openPaths_.erase(path_);
      --owner_.openFiles;
    }

    MemoryFileSystem& owner_;
    std::string path_;
    bool open_ = true;
  };

  std::set<std::string> openPaths_;
};

}  // namespace orvane::testing
