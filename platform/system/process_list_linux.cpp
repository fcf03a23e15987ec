#include "platform/system/process_list_linux.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

#include "platform/system/env.h"

namespace vt::system {

namespace {

bool IsProcessId(std::string_view name) {
  return !name.empty() &&
         std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<std::string> ReadProcessExecutableNames(const std::string& proc_root) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(proc_root.c_str()), &::closedir);
  if (!dir) throw SystemError(errno, "Cannot list the processes in '" + proc_root + "'");
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view id(entry->d_name);
    if (!IsProcessId(id)) continue;
    const std::string link = proc_root + "/" + std::string(id) + "/exe";
    char target[4096];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) continue;
    std::string_view path(target, static_cast<std::size_t>(length));
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.remove_suffix(kDeleted.size());
    const auto slash = path.rfind('/');
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    if (!path.empty()) names.emplace_back(path);
  }
  return names;
}

}  // namespace vt::system
