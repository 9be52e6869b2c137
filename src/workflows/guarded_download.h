// What every download of a workflow shares.
#pragma once

#include <optional>
#include <string>

#include "main_window/workflow_context.h"

namespace orvane {

// The proxy text of every download: the address, ":", then the port, as typed.
std::string ProxyText(const WorkflowContext& context);

// Sets Downloading, lets the pending messages run once, shows `panel` when
// one is named, then fetches `path` into `localFile` with the progress
// display and the proxy text. Returns DownloadFile's status.
std::string GuardedDownload(WorkflowContext& context, const std::string& path,
                            const std::string& localFile,
                            const std::optional<std::string>& panel = std::nullopt);

}  // namespace orvane
