#include <dlfcn.h>

#include <cerrno>
#include <filesystem>

#include "platform/system/env.h"
#include "platform/system/module_path.h"

namespace vt::system {

std::string ModuleFolderOf(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0') {
    throw SystemError(ENOENT, "finding the file of a loaded module");
  }
  std::error_code ignored;
  const std::filesystem::path file =
      std::filesystem::weakly_canonical(std::filesystem::absolute(info.dli_fname), ignored);
  return file.parent_path().string();
}

}  // namespace vt::system
