#include "workflows/mod_open_dir.h"

#include <memory>

namespace orvane {

namespace {

// The item lists the shell hands out are the caller's to free.
class OwnedItemIdList {
 public:
  OwnedItemIdList(Shell& shell, ItemIdList item) : shell_(shell), item_(item) {}
  OwnedItemIdList(const OwnedItemIdList&) = delete;
  OwnedItemIdList& operator=(const OwnedItemIdList&) = delete;
  ~OwnedItemIdList() {
    if (item_) shell_.FreeItemIdList(item_);
  }
  ItemIdList get() const { return item_; }

 private:
  Shell& shell_;
  ItemIdList item_;
};

}  // namespace

std::string BrowseFolder(Shell& shell, std::int32_t root, std::uint32_t flags, std::intptr_t owner,
                         const std::string& title) {
  OwnedItemIdList rootItem(shell, shell.SpecialFolderLocation(owner, root));
  if (!rootItem.get()) return "";

  BrowseInfo info;
  info.owner = owner;
  info.root = rootItem.get();
  info.title = title;
  info.flags = flags;
  std::string displayName;
  OwnedItemIdList chosen(shell, shell.BrowseForFolder(info, displayName));
  if (!chosen.get()) return "";

  // A choice without a file-system path (a virtual folder) yields its name.
  std::string path;
  if (shell.PathFromIdList(chosen.get(), path)) return path.substr(0, path.find('\0'));
  return displayName.substr(0, displayName.find('\0'));
}

}  // namespace orvane
