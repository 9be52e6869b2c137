// What every download of a workflow is wrapped in: frmMain's Downloading
// flag, the folder box locked, and the panel shown for the downloads and the
// one shown after them.
#pragma once

#include <optional>
#include <string>

#include "main_window/workflow_context.h"

namespace orvane {

// The proxy text of every download: the address, ":", then the port, as typed.
std::string ProxyText(const WorkflowContext& context);

class DownloadScope {
 public:
  // Sets Downloading and locks the folder box, so that no command, no
  // typing and no check of the box can start or disturb anything until the
  // scope ends. `during` is shown before the first download, `after` when
  // the scope ends; none leaves the panel as it is.
  DownloadScope(WorkflowContext& context, std::optional<Panel> during = std::nullopt,
                std::optional<Panel> after = std::nullopt);
  DownloadScope(const DownloadScope&) = delete;
  DownloadScope& operator=(const DownloadScope&) = delete;
  // Clears Downloading, unlocks the box and shows `after`.
  ~DownloadScope();

  // Lets the pending messages run once, shows `during` the first time, then
  // fetches `path` into `localFile` with the progress display and the proxy
  // text.
  DownloadResult Download(const std::string& path, const std::string& localFile);

 private:
  WorkflowContext& context_;
  std::optional<Panel> during_;
  std::optional<Panel> after_;
};

}  // namespace orvane
