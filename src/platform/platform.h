// The one seam through which the program reaches the operating system.
#pragma once

#include "platform/file_system.h"
#include "platform/internet.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "platform/user_interface.h"
#include "platform/window_port.h"
#include "platform/xml_files.h"

namespace orvane {

struct Platform {
  UserInterface& ui;
  Internet& internet;
  FileSystem& files;
  Processes& processes;
  SystemInfo& system;
  Shell& shell;
  XmlFiles& xml;
};

}  // namespace orvane
