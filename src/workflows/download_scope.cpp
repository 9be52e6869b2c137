#include "workflows/download_scope.h"

#include <utility>

namespace orvane {

std::string ProxyText(const WorkflowContext& context) {
  return context.txtIP.Caption() + ":" + context.txtPort.Caption();
}

// Guarded before any message runs: a click already queued (the second of a
// double-click) must not start another workflow inside this one.
DownloadScope::DownloadScope(WorkflowContext& context, std::optional<Panel> during,
                             std::optional<Panel> after)
    : context_(context), during_(during), after_(after) {
  context_.Downloading = kVbTrue;
  context_.txtFolder.SetLocked(true);
}

DownloadScope::~DownloadScope() {
  context_.Downloading = kVbFalse;
  context_.txtFolder.SetLocked(false);
  if (after_) context_.Layout_Setting(*after_);
}

DownloadResult DownloadScope::Download(const std::string& path, const std::string& localFile) {
  // A full pass every time: unlike the transfer's passes after each block,
  // this one must not be skipped for following the last block of the
  // previous download moments ago.
  context_.platform.ui.DoEvents();
  if (const std::optional<Panel> panel = std::exchange(during_, std::nullopt))
    context_.Layout_Setting(*panel);
  return context_.download.DownloadFile(path, localFile, context_.ProgressCap, context_.ProgressBar,
                                        ProxyText(context_));
}

}  // namespace orvane
