#include "download/attempt_log.h"

#include "download/download_text.h"
#include "download/internet_errors.h"
#include "download/mdl_download.h"

namespace orvane {

std::string AttemptLine(const AttemptRecord& record, std::string_view outcome) {
  const std::optional<std::string> proxy = ChooseProxy(record.proxy);
  std::string line = "Download " + record.address + ", proxy ";
  line += proxy ? *proxy : "from the system's settings";
  if (!record.statuses.empty()) line += ", status";
  for (const std::uint64_t status : record.statuses) line += " " + std::to_string(status);
  if (record.error) line += ", error " + InternetErrorText(*record.error);
  if (record.silentSeconds) {
    line += ", nothing heard for " + std::to_string(*record.silentSeconds) + " s";
  }
  line += ", " + std::to_string(record.received) + " of ";
  line += record.total > 0 ? std::to_string(record.total) : "unknown";
  line += " bytes from byte " + std::to_string(record.from) + ": ";
  line += outcome;
  return line;
}

std::string_view ResultName(DownloadResult result) {
  switch (result) {
    case DownloadResult::Ok:
      return "ok";
    case DownloadResult::FileErr:
      return "FileErr";
    case DownloadResult::NetErr:
      return "NetErr";
    case DownloadResult::DiskErr:
      return "DiskErr";
    case DownloadResult::ProxyErr:
      return "ProxyErr";
  }
  return "?";
}

}  // namespace orvane
