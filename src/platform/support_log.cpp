#include "platform/support_log.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

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

void SupportLog::Write(std::string_view event) {
  const std::string folder = system_.TempFolder();
  if (folder.empty()) return;
  const std::string path = folder + kSupportLogName;
  const std::string line = Timestamp(system_.LocalTime()) + ' ' +
                           std::string(event.substr(0, event.find_first_of("\r\n"))) + "\r\n";
  const std::optional<std::uint64_t> length = files_.FileLength(path);
  if (length && *length + line.size() <= kSupportLogMost) {
    const std::unique_ptr<OutputFile> file = files_.OpenForAppending(path, *length);
    if (file) file->Write(line.data(), line.size());
    return;
  }
  std::string kept;
  if (length) {
    const std::optional<std::string> newest =
        files_.ReadFrom(path, *length - std::min(*length, kSupportLogKept));
    if (!newest) return;
    // The newest part starts at the first line that begins in it.
    const std::size_t cut = newest->find('\n');
    if (cut != std::string::npos) kept = newest->substr(cut + 1);
  }
  Replace(path, kept + line);
}

void SupportLog::WriteStart() {
  const WindowsBuild windows = system_.RealVersion();
  Write("Start: OrvaneSetup " ORVANE_VERSION_TEXT " on Windows " +
        std::to_string(windows.majorVersion) + "." + std::to_string(windows.minorVersion) + "." +
        std::to_string(windows.buildNumber) +
        (system_.IsElevated() ? ", administrator: yes" : ", administrator: no"));
}

// The whole log is written beside the old one and put in its place in one
// step: a failure leaves the old log as it was.
void SupportLog::Replace(const std::string& path, const std::string& text) {
  const std::string fresh = path + ".new";
  std::unique_ptr<OutputFile> file = files_.OpenForWriting(fresh);
  if (!file) return;
  const bool written = file->Write(text.data(), text.size()) && file->Close();
  file.reset();
  if (!written || !files_.MoveReplacing(fresh, path)) files_.RemoveFile(fresh);
}

}  // namespace orvane
