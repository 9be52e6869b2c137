#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/win32/utf.h"

namespace orvane::win32 {

namespace {

std::string TextBeforeNul(const wchar_t* buffer) {
  return Narrow(std::wstring_view(buffer));
}

}  // namespace

ItemIdList Win32Shell::SpecialFolderLocation(std::intptr_t owner, std::int32_t folder) {
  LPITEMIDLIST item = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(reinterpret_cast<HWND>(owner), folder, &item)))
    return nullptr;
  return item;
}

ItemIdList Win32Shell::BrowseForFolder(const BrowseInfo& info, std::string& displayName) {
  wchar_t name[kMaxPath] = {};
  const std::wstring title = Widen(info.title);
  BROWSEINFOW browse{};
  browse.hwndOwner = reinterpret_cast<HWND>(info.owner);
  browse.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(info.root);
  browse.pszDisplayName = name;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = info.flags;
  ItemIdList chosen = SHBrowseForFolderW(&browse);
  displayName = TextBeforeNul(name);
  return chosen;
}

bool Win32Shell::PathFromIdList(ItemIdList item, std::string& path) {
  wchar_t buffer[kMaxPath] = {};
  if (!SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(item), buffer)) return false;
  path = TextBeforeNul(buffer);
  return true;
}

void Win32Shell::FreeItemIdList(ItemIdList item) {
  CoTaskMemFree(item);
}

}  // namespace orvane::win32
