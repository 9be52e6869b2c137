// What support reads after a failed install: OrvaneSetup.log in the folder
// Orvane\Logs of the program data for all users, one UTF-8 line per event,
// each starting with the local date and time. Every run appends to it,
// whoever elevated the program. Only administrators and the system may write
// in that folder, so no user can plant a link there, and the file is kept
// open for the run. Logging never fails the program: a log that can't be
// written is skipped, and each line is written once, whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/system_info.h"

namespace orvane {

// Below the program data folder.
inline constexpr char kSupportLogFolder[] = "Orvane\\Logs";
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
  // The file, opened at the first line: its folders made or taken over first.
  LogFile* File();

  FileSystem& files_;
  SystemInfo& system_;
  std::unique_ptr<LogFile> file_;
  bool opened_ = false;  // once tried, never again: a log that can't be opened stays skipped
};

}  // namespace orvane
