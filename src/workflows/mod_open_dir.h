// ModOpenDir: the shell's folder dialog.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"

namespace orvane {

// Lets the user choose a folder under `root` (a special-folder number).
// Returns the chosen path, or "" when cancelled or the root can't be found.
std::string BrowseFolder(Shell& shell, std::int32_t root, std::uint32_t flags, std::intptr_t owner,
                         const std::string& title);

}  // namespace orvane
