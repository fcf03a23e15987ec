#pragma once

namespace vt::maintenance {

struct LibraryVersion {
  int major = 0;
  int minor = 0;
};

// This library's version, as the startup panel shows it: on Windows the
// VERSIONINFO resource of the file that holds this code, on Linux the build's.
// Throws std::runtime_error naming the file when its resource cannot be read.
LibraryVersion OwnLibraryVersion();

}  // namespace vt::maintenance
