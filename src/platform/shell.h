// The seam to the shell's folder dialog (shell32).
#pragma once

#include <cstdint>
#include <string>

namespace orvane {

using ItemIdList = void*;  // opaque; null when a call found or chose nothing

inline constexpr std::int32_t kCsidlDesktop = 0;
inline constexpr std::uint32_t kBifReturnOnlyFsDirs = 1;
inline constexpr std::size_t kMaxPath = 260;  // the folder dialog's buffers, in characters

// SHBrowseForFolder's record, without the display-name buffer, which the
// call's second argument stands for.
struct BrowseInfo {
  std::intptr_t owner = 0;
  ItemIdList root = nullptr;
  std::string title;
  std::uint32_t flags = 0;
  // No callback: its parameter and the image index are passed as zero.
};

class Shell {
 public:
  virtual ~Shell() = default;
  // SHGetSpecialFolderLocation, SHBrowseForFolder and SHGetPathFromIDList.
  virtual ItemIdList SpecialFolderLocation(std::intptr_t owner, std::int32_t folder) = 0;
  // Shows the dialog and waits; displayName receives the chosen item's name
  // from a buffer of kMaxPath characters (the text before its first NUL).
  virtual ItemIdList BrowseForFolder(const BrowseInfo& info, std::string& displayName) = 0;
  // The item's file-system path, from a buffer of kMaxPath characters.
  virtual bool PathFromIdList(ItemIdList item, std::string& path) = 0;
  virtual void FreeItemIdList(ItemIdList item) = 0;
};

}  // namespace orvane
