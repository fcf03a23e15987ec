#include <filesystem>
#include <system_error>

#include "platform/system/utf8_path.h"
#include "wizard/app_path.h"

namespace vt::wizard {

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  // Without /proc the current folder is the best guess left.
  if (error) return system::Utf8FromPath(std::filesystem::current_path(error));
  return system::Utf8FromPath(program.parent_path());
}

}  // namespace vt::wizard
