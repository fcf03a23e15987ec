#include "platform/system/module_path.h"

#include <cerrno>
#include <filesystem>

#include "platform/system/dynamic_library.h"
#include "platform/system/env.h"
#include "platform/system/utf8_path.h"

namespace vt::system {

std::string ModuleFolderOf(const void* address) {
  const std::string file = PathOfLibraryContaining(address);
  if (file.empty()) throw SystemError(ENOENT, "finding the file of a loaded module");
  std::error_code ignored;
  const std::filesystem::path path =
      std::filesystem::weakly_canonical(std::filesystem::absolute(PathFromUtf8(file)), ignored);
  return Utf8FromPath(path.parent_path());
}

}  // namespace vt::system
