#include "platform/system/env.h"

#include <atomic>
#include <cerrno>
#include <memory>

namespace vt::system {

namespace {
std::atomic<Env*> current_env{nullptr};
}  // namespace

SystemError::SystemError(int error_number, const std::string& what)
    : std::system_error(error_number, std::generic_category(), what) {}

ReadOnlyFileError::ReadOnlyFileError(const std::string& path)
    : SystemError(EACCES, "Cannot write the file '" + path + "': it is read-only") {}

Env::~Env() = default;
AtomicFile::~AtomicFile() = default;
RandomRWFile::~RandomRWFile() = default;
FileLock::~FileLock() = default;

void Env::WriteFileAtomic(const std::string& path, std::string_view contents) {
  const std::unique_ptr<AtomicFile> file = NewAtomicFile(path);
  file->Append(contents);
  file->Sync();
  file->Commit();
}

Env& CurrentEnv() {
  Env* env = current_env.load();
  return env != nullptr ? *env : *Env::Default();
}

ScopedEnvOverride::ScopedEnvOverride(Env* env) : previous_(current_env.exchange(env)) {}

ScopedEnvOverride::~ScopedEnvOverride() { current_env.store(previous_); }

}  // namespace vt::system
