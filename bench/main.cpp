// veltrano_bench: the library against its peers, case by case, in one run,
// with one table at the end.
//
//   veltrano_bench [--runs N] [--process-runs N] [--cache DIR] [--list] [CASE...]
//
// Exit status: 0 every goal met, 1 some goal missed, 2 a case failed or a
// wrong command line.
#include <stdlib.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/suite.h"

namespace {

namespace fs = std::filesystem;
using vt::bench::Case;
using vt::bench::Context;
using vt::bench::Row;

std::string CpuModel() {
  std::ifstream in("/proc/cpuinfo");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
  }
  return "unknown CPU";
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
}

void PrintMachine(const char* when) {
  utsname name{};
  uname(&name);
  std::printf("%s: %s, %u cores, Linux %s, load average %s\n", when, CpuModel().c_str(),
              std::thread::hardware_concurrency(), name.release, LoadAverage().c_str());
}

int Usage(const std::vector<Case>& cases) {
  std::fprintf(stderr,
               "usage: veltrano_bench [--runs N] [--process-runs N] [--cache DIR] [--list] "
               "[CASE...]\ncases:");
  for (const Case& c : cases) std::fprintf(stderr, " %s", c.name.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Case> cases = vt::bench::AllCases();
  const bool creation = argc == 3 && std::strcmp(argv[1], "--creation-child") == 0;
  if (creation || (argc == 3 && std::strcmp(argv[1], "--load-child") == 0)) {
    try {
      return creation ? vt::bench::CreationChild(argv[2]) : vt::bench::LoadChild(argv[2]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "veltrano_bench: %s\n", e.what());
      return 2;
    }
  }

  Context context;
  context.source_dir = VELTRANO_BENCH_SOURCE_DIR;
  context.binary_dir = VELTRANO_BENCH_BINARY_DIR;
  context.self = fs::read_symlink("/proc/self/exe");
  context.cache = context.binary_dir / "bench-cache";
  std::vector<const Case*> chosen;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto number = [&](int& into) {
      if (i + 1 >= argc || std::atoi(argv[i + 1]) < 1) return false;
      into = std::atoi(argv[++i]);
      return true;
    };
    if (arg == "--runs") {
      if (!number(context.runs)) return Usage(cases);
    } else if (arg == "--process-runs") {
      if (!number(context.process_runs)) return Usage(cases);
    } else if (arg == "--cache" && i + 1 < argc) {
      context.cache = fs::absolute(argv[++i]);
    } else if (arg == "--list") {
      for (const Case& c : cases) std::printf("%-10s %s\n", c.name.c_str(), c.title.c_str());
      return 0;
    } else {
      const Case* found = nullptr;
      for (const Case& c : cases) {
        if (c.name == arg) found = &c;
      }
      if (found == nullptr) return Usage(cases);
      chosen.push_back(found);
    }
  }
  if (chosen.empty()) {
    for (const Case& c : cases) chosen.push_back(&c);
  }

  fs::create_directories(context.cache);
  char pattern[] = "/tmp/veltrano-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("veltrano_bench: mkdtemp");
    return 2;
  }
  const fs::path scratch_root = pattern;

  PrintMachine("machine");
  std::printf("runs: %d in this process, %d of child processes; medians\n\n", context.runs,
              context.process_runs);
  std::vector<Row> rows;
  int status = 0;
  for (const Case* c : chosen) {
    std::printf("%s ...\n", c->title.c_str());
    std::fflush(stdout);
    context.scratch = scratch_root / c->name;
    fs::create_directories(context.scratch);
    try {
      for (Row& row : c->run(context)) {
        if (!vt::bench::Passes(row)) status = std::max(status, 1);
        rows.push_back(std::move(row));
      }
    } catch (const std::exception& e) {
      std::printf("  failed: %s\n", e.what());
      status = 2;
    }
    std::error_code ignored;
    fs::remove_all(context.scratch, ignored);
  }
  std::error_code ignored;
  fs::remove_all(scratch_root, ignored);

  std::printf("\n");
  vt::bench::PrintTable(rows);
  PrintMachine("\nafter the run");
  return status;
}
