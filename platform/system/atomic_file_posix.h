#pragma once

// The POSIX back end's files: AtomicFile by mkostemp + fsync + rename, files
// changed in place, the folder lock by flock, and file stamps from stat.

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/system/env.h"

namespace vt::system::posix {

// A new version of `path` written as "<folder>/.<name>.tmp-XXXXXX" and
// renamed over it, with permissions `mode`.
std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path, mode_t mode);
// The permissions the replacement of `path` gets: those of the file there, or
// those of a new file (0666 less the process's umask).
mode_t ReplacementMode(const std::string& path);
// Removes the temporaries of `path` whose writers are gone (their lock with them).
void RemoveStaleTemporaries(const std::string& path);
std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path);

std::unique_ptr<FileLock> LockFolderOf(const std::string& path);

FileStamp StampOf(const struct stat& info);

}  // namespace vt::system::posix
