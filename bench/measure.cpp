#include "bench/measure.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace vt::bench {
namespace {

double Now(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string Slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

double StatusFieldMb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(in, line)) {
    if (line.compare(0, length, field) == 0) {
      return std::stod(line.substr(length)) / 1024.0;  // kB
    }
  }
  return 0;
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

Sample TimeOnce(const std::function<void()>& timed) {
  const double wall = Now(CLOCK_MONOTONIC);
  const double cpu = Now(CLOCK_PROCESS_CPUTIME_ID);
  timed();
  return {Now(CLOCK_MONOTONIC) - wall, Now(CLOCK_PROCESS_CPUTIME_ID) - cpu};
}

}  // namespace

Figure MedianOf(std::vector<Sample> samples) {
  std::vector<double> wall, cpu;
  for (const Sample& s : samples) {
    wall.push_back(s.wall);
    cpu.push_back(s.cpu);
  }
  return {Median(wall), Median(cpu), static_cast<int>(samples.size())};
}

Figure Measure(int runs, const std::function<void()>& setup, const std::function<void()>& timed) {
  return MeasureInTurn(runs, {{setup, timed}}).front();
}

std::vector<Figure> MeasureInTurn(int runs, const std::vector<Job>& jobs) {
  std::vector<std::vector<Sample>> samples(jobs.size());
  for (int i = 0; i < runs; ++i) {
    for (std::size_t j = 0; j < jobs.size(); ++j) {
      if (jobs[j].setup) jobs[j].setup();
      samples[j].push_back(TimeOnce(jobs[j].timed));
    }
  }
  std::vector<Figure> figures;
  for (auto& s : samples) figures.push_back(MedianOf(std::move(s)));
  return figures;
}

Figure PerItem(Figure figure, double count, double scale) {
  return {figure.wall * scale / count, figure.cpu * scale / count, figure.runs};
}

Figure Measure(int runs, const std::function<void()>& timed) { return Measure(runs, {}, timed); }

ProcessRun RunProcess(const std::vector<std::string>& argv, const std::filesystem::path& scratch,
                      const std::vector<std::string>& env) {
  const auto out_file = scratch / "child-stdout.txt";
  const auto err_file = scratch / "child-stderr.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<std::string> args = argv;
  std::vector<char*> arg_pointers;
  for (std::string& a : args) arg_pointers.push_back(a.data());
  arg_pointers.push_back(nullptr);
  std::vector<std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) variables.emplace_back(*e);
  variables.insert(variables.end(), env.begin(), env.end());
  std::vector<char*> env_pointers;
  for (std::string& v : variables) env_pointers.push_back(v.data());
  env_pointers.push_back(nullptr);

  ProcessRun run;
  pid_t pid = 0;
  const double start = Now(CLOCK_MONOTONIC);
  const int rc = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, arg_pointers.data(),
                             env_pointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(rc));
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) throw std::runtime_error("wait4 failed for " + args[0]);
  }
  run.time.wall = Now(CLOCK_MONOTONIC) - start;
  run.time.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.out = Slurp(out_file);
  run.err = Slurp(err_file);
  return run;
}

ProcessRun RunChecked(const std::vector<std::string>& argv, const std::filesystem::path& scratch,
                      const std::vector<std::string>& env) {
  ProcessRun run = RunProcess(argv, scratch, env);
  if (run.status != 0) {
    std::string command;
    for (const std::string& a : argv) command += (command.empty() ? "" : " ") + a;
    throw std::runtime_error(command + " failed (status " + std::to_string(run.status) +
                             "): " + run.err.substr(0, 2000));
  }
  return run;
}

std::vector<Figure> MeasureProcessesInTurn(int runs, const std::vector<ProcessJob>& jobs,
                                           const std::filesystem::path& scratch) {
  std::vector<std::vector<Sample>> samples(jobs.size());
  for (int i = 0; i < runs; ++i) {
    for (std::size_t j = 0; j < jobs.size(); ++j) {
      if (jobs[j].setup) jobs[j].setup();
      const ProcessRun run = RunChecked(jobs[j].argv, scratch, jobs[j].env);
      if (jobs[j].check) jobs[j].check(run);
      samples[j].push_back(run.time);
    }
  }
  std::vector<Figure> figures;
  for (auto& s : samples) figures.push_back(MedianOf(std::move(s)));
  return figures;
}

double CurrentRssMb() { return StatusFieldMb("VmRSS:"); }
double PeakRssMb() { return StatusFieldMb("VmHWM:"); }

double FileMb(const std::filesystem::path& file) {
  return static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
}

ScriptRuns ParseScriptRuns(const std::string& out, const std::string& count_word) {
  std::istringstream in(out);
  std::vector<Sample> samples;
  ScriptRuns runs;
  std::string word;
  while (in >> word) {
    if (word == count_word) {
      in >> runs.count;
    } else {
      Sample s;
      s.wall = std::stod(word);
      in >> s.cpu;
      samples.push_back(s);
    }
  }
  if (samples.empty()) throw std::runtime_error("the peer's script printed no run: " + out);
  runs.figure = MedianOf(std::move(samples));
  return runs;
}

}  // namespace vt::bench
