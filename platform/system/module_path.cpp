#include "platform/system/module_path.h"

#include <cerrno>
#include <filesystem>

#include "platform/system/dynamic_library.h"
#include "platform/system/env.h"

namespace vt::system {

std::string ModuleFolderOf(const void* address) {
  const std::string file = PathOfLibraryContaining(address);
  if (file.empty()) throw SystemError(ENOENT, "finding the file of a loaded module");
  std::error_code ignored;
  const std::filesystem::path path =
      std::filesystem::weakly_canonical(std::filesystem::absolute(file), ignored);
  return path.parent_path().string();
}

}  // namespace vt::system
