// The shell's folder dialog on shell32's wide-character calls, so folders
// with Vietnamese letters come back intact.
#pragma once

#include "platform/shell.h"

namespace orvane::win32 {

class Win32Shell : public Shell {
 public:
  ItemIdList SpecialFolderLocation(std::intptr_t owner, std::int32_t folder) override;
  ItemIdList BrowseForFolder(const BrowseInfo& info, std::string& displayName) override;
  bool PathFromIdList(ItemIdList item, std::string& path) override;
  void FreeItemIdList(ItemIdList item) override;
};

}  // namespace orvane::win32
