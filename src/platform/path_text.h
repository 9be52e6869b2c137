// Splitting Windows paths held as text.
#pragma once

#include <string>

namespace orvane {

// The folder part of a path, without the trailing separator ("" for a bare name).
inline std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Whether `path` lies inside `folder` (at any depth), comparing as Windows
// does, without regard to case; both are final paths, with no "." or "..".
inline bool IsInsideFolder(const std::string& path, const std::string& folder) {
  const std::string base = folder.empty() || folder.back() == '\\' ? folder : folder + '\\';
  if (base.empty() || path.size() <= base.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i < base.size(); ++i)
    if (lower(path[i]) != lower(base[i])) return false;
  return true;
}

// A path on another computer (\\server\share): looking at it may wait on the network.
inline bool IsNetworkPath(const std::string& path) {
  const auto separator = [&](std::size_t at) {
    return path.size() > at && (path[at] == '\\' || path[at] == '/');
  };
  return separator(0) && separator(1);
}

}  // namespace orvane
