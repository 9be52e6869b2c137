#include "workflows/guarded_download.h"

namespace orvane {

std::string ProxyText(const WorkflowContext& context) {
  return context.txtIP.Caption() + ":" + context.txtPort.Caption();
}

std::string GuardedDownload(WorkflowContext& context, const std::string& path,
                            const std::string& localFile, const std::optional<std::string>& panel) {
  // Guarded before the pending messages run: a click already queued (the
  // second of a double-click) must not start another workflow inside this one.
  context.Downloading = kVbTrue;
  // A full pass every time: unlike the transfer's passes after each block,
  // this one must not be skipped for following the last block of the
  // previous download moments ago.
  context.platform.ui.DoEvents();
  if (panel) context.Layout_Setting(*panel);
  return context.download.DownloadFile(path, localFile, context.ProgressCap, context.ProgressBar,
                                       ProxyText(context));
}

}  // namespace orvane
