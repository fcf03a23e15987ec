#include <filesystem>
#include <system_error>

#include "wizard/app_path.h"

namespace vt::wizard {

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  // Without /proc the current folder is the best guess left.
  if (error) return std::filesystem::current_path(error).string();
  return program.parent_path().string();
}

}  // namespace vt::wizard
