// The shell's folder dialog (shell32, wide-character calls so folders with
// Vietnamese letters come back intact) and XML files read with XmlLite.
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

class XmlLiteFiles : public XmlFiles {
 public:
  std::optional<std::string> ElementText(const std::string& path, const std::string& root,
                                         const std::string& child) override;
};

}  // namespace orvane::win32
