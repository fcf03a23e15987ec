#pragma once

// The POSIX back end's files: AtomicFile by mkostemp + fsync + rename, files
// changed in place, the folder lock by flock (env_backend.h declares those
// Env uses), and file stamps from stat.

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/system/env.h"

namespace vt::system::posix {

// A new version of `path` written as "<folder>/.<name>.tmp-XXXXXX" and
// renamed over it. It takes the permissions of the file it replaces, and its
// owner and group where the process may give them; a new file gets
// `new_file_mode`. A read-only file raises ReadOnlyFileError.
std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path, mode_t new_file_mode);
// The permissions of a new file: 0666 less the process's umask.
mode_t NewFileMode();
FileStamp StampOf(const struct stat& info);

}  // namespace vt::system::posix
