#pragma once

// The real FIX.exe in batch mode, loading the real libveltrano.so through a
// class registry of the run's own (so the user's registry is not touched).

#include <filesystem>
#include <string>
#include <vector>

#include "bench/suite.h"

namespace vt::bench {

class FixExe {
 public:
  // Registers the library in a registry in the context's scratch folder.
  explicit FixExe(Context& context);

  // FIX.exe --batch --pictures PICTURES followed by `args`.
  std::vector<std::string> Argv(const std::filesystem::path& pictures,
                                const std::vector<std::string>& args) const;
  // The environment that points FIX.exe at the registry.
  const std::vector<std::string>& Env() const { return env_; }

 private:
  std::filesystem::path program_;
  std::vector<std::string> env_;
};

}  // namespace vt::bench
