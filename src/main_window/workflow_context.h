// What frmMain hands to the workflows: the narrow part of the window they
// work on, and the interface they implement. The composition root passes the
// implementation to frmMain, so this folder never includes the workflows.
#pragma once

#include <functional>
#include <string>

#include "download/mdl_download.h"
#include "platform/control.h"
#include "platform/platform.h"
#include "platform/vb_runtime.h"
#include "platform/window_port.h"

namespace orvane {

// The panels frmMain shows, one at a time.
enum class Panel { Home, Installing, Upgrade, Proxy, Help };

struct WorkflowContext {
  Platform& platform;
  MdlDownload& download;
  // frmMain's window: the input focus, and unloading it at the hand-over.
  WindowPort& window;
  // frmMain's flag, true (-1) while a workflow's download runs.
  VbBoolean& Downloading;
  // The progress display every download writes to.
  Control& ProgressCap;
  Control& ProgressBar;
  // The installation folder, and the proxy's address and port.
  Control& txtFolder;
  Control& txtIP;
  Control& txtPort;
  // frmMain's panel switch.
  std::function<void(Panel)> Layout_Setting;
};

// The work behind frmMain's install, upgrade and folder commands, and its
// folder box's check.
class WorkflowHandlers {
 public:
  virtual ~WorkflowHandlers() = default;
  virtual void Install(WorkflowContext& context) = 0;
  virtual void Upgrade(WorkflowContext& context) = 0;
  virtual void CheckFolder(WorkflowContext& context) = 0;
  virtual void BrowseForFolder(WorkflowContext& context) = 0;
};

}  // namespace orvane
