// The workflows: the install, the upgrade, the messages after a failed
// download and the installation folder, over the part of frmMain they are
// given. Beyond the publisher whose signature a downloaded program must
// carry (none: no check), everything they touch is in the context.
#pragma once

#include <string>
#include <utility>

#include "main_window/workflow_context.h"
#include "platform/support_log.h"

namespace orvane {

class Workflows final : public WorkflowHandlers {
 public:
  // `ownFolder`: the path the system has for the program's own folder, where
  // the installer must lie to be started.
  Workflows(std::string publisher, SupportLog& log, std::string ownFolder)
      : publisher_(std::move(publisher)), log_(log), ownFolder_(std::move(ownFolder)) {}
  // Install: the installer beside this program, then started.
  void Install(WorkflowContext& context) override;
  // Upgrade: the updater and two packages into the installation folder, then
  // the hand-over to the updater.
  void Upgrade(WorkflowContext& context) override;
  // The folder box changed: refuses a folder that holds no installation.
  void CheckFolder(WorkflowContext& context) override;
  // The folder button: the folder dialog's choice into the folder box.
  void BrowseForFolder(WorkflowContext& context) override;

 private:
  // The message for a failed download.
  void ShowDownloadMessage(WorkflowContext& context, DownloadResult result);
  // Starts a program just downloaded into `folder`, as checked; says why
  // when it doesn't. True when it started.
  bool StartChecked(WorkflowContext& context, const std::string& path, const std::string& folder);
  // Without both marker files: the message, the box emptied, and true.
  bool RefuseWrongFolder(WorkflowContext& context);

  std::string publisher_;
  SupportLog& log_;
  std::string ownFolder_;
};

}  // namespace orvane
