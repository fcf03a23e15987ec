#include "platform/system/env.h"

#include <atomic>

namespace vt::system {

namespace {
std::atomic<Env*> current_env{nullptr};
}  // namespace

SystemError::SystemError(int error_number, const std::string& what)
    : std::system_error(error_number, std::generic_category(), what) {}

Env::~Env() = default;

Env& CurrentEnv() {
  Env* env = current_env.load();
  return env != nullptr ? *env : *Env::Default();
}

ScopedEnvOverride::ScopedEnvOverride(Env* env) : previous_(current_env.exchange(env)) {}

ScopedEnvOverride::~ScopedEnvOverride() { current_env.store(previous_); }

}  // namespace vt::system
