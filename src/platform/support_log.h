// What support reads after a failed install: OrvaneSetup.log in the user's
// temporary folder, one UTF-8 line per event, each starting with the local
// date and time. Every run appends to it. Logging never fails the program: a
// log that can't be written is skipped, and each line is written once, whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system_info.h"

namespace orvane {

inline constexpr char kSupportLogName[] = "OrvaneSetup.log";
// A line that would take the log past kSupportLogMost bytes first cuts it
// back to its newest whole lines within the last kSupportLogKept bytes.
inline constexpr std::uint64_t kSupportLogMost = 1024 * 1024;
inline constexpr std::uint64_t kSupportLogKept = 512 * 1024;

class SupportLog {
 public:
  SupportLog(FileSystem& files, SystemInfo& system) : files_(files), system_(system) {}
  SupportLog(const SupportLog&) = delete;
  SupportLog& operator=(const SupportLog&) = delete;

  // Appends "YYYY-MM-DD HH:MM:SS event", the event up to its first line
  // break. An event never names a password or a proxy login.
  void Write(std::string_view event);
  // The start of a run: the program's version, Windows' real version and
  // whether the program has administrator rights.
  void WriteStart();

 private:
  void Replace(const std::string& path, const std::string& text);

  FileSystem& files_;
  SystemInfo& system_;
};

}  // namespace orvane
