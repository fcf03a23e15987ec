// A program that is not FIX.exe and creates the interpreter object, as a
// script outside the host would. Usage: outside_host_probe TRANSCRIPT
// Prints "GlobalLangNum=<n>" and "fix_seen=<0|1>": whether a FIX.exe was
// running just before or just after the creation, which would make the
// host check's answer meaningless for the test; and "unloaded=<0|1>": whether
// the library left the process once its object was released, as it must for
// a host that keeps running.
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/automation/dispatch.h"
#include "platform/automation/runtime.h"
#include "platform/automation/text.h"
#include "platform/system/env.h"
#include "platform/ui/configure.h"

namespace {

bool FixRunning() {
  for (const std::string& name : vt::system::Env::Default()->RunningProcessExecutableNames()) {
    if (vt::automation::text::UCase(name) == "FIX.EXE") return true;
  }
  return false;
}

bool LibraryMapped() {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str().find("/libveltrano.so") != std::string::npos;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: outside_host_probe TRANSCRIPT\n";
    return 2;
  }
  try {
    vt::ui::Options options;
    options.batch = true;
    options.transcript_path = argv[1];
    options.program_name = "outside_host_probe";
    vt::ui::Configure(options);

    const bool before = FixRunning();
    vt::automation::ObjectRef module = vt::automation::CreateObject("Veltrano.VeltranoModule");
    std::cout << "GlobalLangNum=" << vt::automation::Get(module, "GlobalLangNum").ToLong() << '\n';
    module.reset();
    vt::automation::FreeUnusedLibraries();
    const bool after = FixRunning();
    std::cout << "fix_seen=" << ((before || after) ? 1 : 0) << '\n';
    std::cout << "unloaded=" << (LibraryMapped() ? 0 : 1) << '\n';
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "outside_host_probe: " << e.what() << '\n';
    return 1;
  }
}
