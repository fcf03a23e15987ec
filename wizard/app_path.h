#pragma once

#include <string>

namespace vt::wizard {

// The folder that holds the Rostavel program: the templates are read from its
// Kelmora folder and the error log is written beside the program.
std::string AppPath();

// The folder of the running executable, symbolic links resolved; one source
// file per platform.
std::string ProgramFolder();

// Makes AppPath() answer `path` for the life of this object (tests run the
// wizard on a copy of its folder).
class ScopedAppPath {
 public:
  explicit ScopedAppPath(std::string path);
  ~ScopedAppPath();
  ScopedAppPath(const ScopedAppPath&) = delete;
  ScopedAppPath& operator=(const ScopedAppPath&) = delete;

 private:
  std::string previous_;
};

}  // namespace vt::wizard
