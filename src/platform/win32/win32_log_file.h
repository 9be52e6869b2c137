// The support log's file and folders on kernel32 and advapi32: a file kept
// open for the run, and folders only administrators and the system may
// write in.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace orvane::win32 {

// Opens the file, created when missing, shared for reading and writing but
// never for deleting or renaming; null for a link, a folder, or a failure.
std::unique_ptr<LogFile> OpenLogFile(const std::wstring& path);

// Creates the folder, or takes over the one of that name, with the system
// and administrators as its only writers, users as readers, and
// administrators as its owner; false for a link, junction or mount point of
// that name, or when the folder can't be made or its security set.
bool CreateProtectedFolder(const std::wstring& path);

}  // namespace orvane::win32
