#include "wizard/app_path.h"

#include <utility>

namespace vt::wizard {
namespace {

// Empty: the program's own folder.
std::string& OverriddenPath() {
  static std::string path;
  return path;
}

}  // namespace

std::string AppPath() {
  const std::string& overridden = OverriddenPath();
  return overridden.empty() ? ProgramFolder() : overridden;
}

ScopedAppPath::ScopedAppPath(std::string path) : previous_(std::move(OverriddenPath())) {
  OverriddenPath() = std::move(path);
}

ScopedAppPath::~ScopedAppPath() { OverriddenPath() = std::move(previous_); }

}  // namespace vt::wizard
