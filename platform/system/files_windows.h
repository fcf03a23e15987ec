#pragma once

// The Windows back end's files: AtomicFile by a temporary file and
// ReplaceFileW/MoveFileExW, the writers' lock by LockFileEx (env_backend.h
// declares those Env uses), stamps from GetFileInformationByHandle.

#include <memory>
#include <optional>
#include <string>

#include "platform/system/env.h"
#include "platform/system/text_windows.h"

namespace vt::system::windows {

// Opens an existing file or folder for reading, shared with every other
// reader, writer and replacer.
HANDLE OpenShared(const std::string& path, DWORD access);
FileStamp StampOf(HANDLE file);
// The same file: volume serial number and file index alike.
bool SameFile(HANDLE a, HANDLE b);
// The same from the file's information already asked for (under Wine each
// such question asks for the volume, a round trip to another process).
FileStamp StampOf(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info);

}  // namespace vt::system::windows
