// Starting a program just downloaded, exactly as it was checked.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/support_log.h"

namespace orvane {

enum class CheckedStart {
  Started,
  Declined,  // the user said no to the rights the program asks for
  Failed,    // it could not be held or started
  Refused,   // not signed by the publisher: deleted, never started
};

// Holds the file so no other process can change it, checks that it lies in
// `folder` (the path the system has for the folder it belongs to) and that
// `publisher` signed it (an empty publisher: no check), starts it by the path
// the system has for it, its DLLs from the system folder first, while still
// holding it, then lets go. A refused signer's file is deleted. The checks'
// findings go to the support log.
CheckedStart StartDownloaded(Platform& platform, SupportLog& log, const std::string& path,
                             std::string_view publisher, const std::string& folder);

}  // namespace orvane
