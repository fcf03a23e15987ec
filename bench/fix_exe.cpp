#include "bench/fix_exe.h"

namespace vt::bench {

FixExe::FixExe(Context& context)
    : program_(context.binary_dir / "bin" / "FIX.exe"),
      env_{"VELTRANO_CLASS_REGISTRY=" + (context.scratch / "classes.json").string()} {
  RunChecked(
      {program_.string(), "regsvr", (context.binary_dir / "lib" / "libveltrano.so").string()},
      context.scratch, env_);
}

std::vector<std::string> FixExe::Argv(const std::filesystem::path& pictures,
                                      const std::vector<std::string>& args) const {
  std::vector<std::string> argv = {program_.string(), "--batch", "--pictures", pictures.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

}  // namespace vt::bench
