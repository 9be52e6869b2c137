#include "platform/support_log.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "platform/path_text.h"
#include "platform/program_version.h"

namespace orvane {

namespace {

std::string Timestamp(const LocalDateTime& time) {
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

}  // namespace

LogFile* SupportLog::File() {
  if (std::exchange(opened_, true)) return file_.get();
  const std::string data = system_.ProgramDataFolder();
  if (data.empty()) return nullptr;
  const std::string folder = data + kSupportLogFolder;
  if (!files_.CreateProtectedFolder(FolderOf(folder)) || !files_.CreateProtectedFolder(folder))
    return nullptr;
  file_ = files_.OpenLog(folder + "\\" + kSupportLogName);
  return file_.get();
}

// Past kSupportLogMost the log is cut back in place, to the newest whole
// lines, before the line goes on.
void SupportLog::Write(std::string_view event) {
  LogFile* file = File();
  if (!file) return;
  const std::string line = Timestamp(system_.LocalTime()) + ' ' +
                           std::string(event.substr(0, event.find_first_of("\r\n"))) + "\r\n";
  const std::optional<std::uint64_t> length = file->Length();
  if (!length) return;
  if (*length + line.size() <= kSupportLogMost) {
    file->Append(line);
    return;
  }
  const std::optional<std::string> newest =
      file->ReadFrom(*length - std::min(*length, kSupportLogKept));
  if (!newest) return;
  // The newest part starts at the first line that begins in it.
  const std::size_t cut = newest->find('\n');
  file->Rewrite((cut == std::string::npos ? std::string() : newest->substr(cut + 1)) + line);
}

void SupportLog::WriteStart() {
  const WindowsBuild windows = system_.RealVersion();
  Write("Start: OrvaneSetup " ORVANE_VERSION_TEXT " on Windows " +
        std::to_string(windows.majorVersion) + "." + std::to_string(windows.minorVersion) + "." +
        std::to_string(windows.buildNumber) +
        (system_.IsElevated() ? ", administrator: yes" : ", administrator: no"));
}

}  // namespace orvane
