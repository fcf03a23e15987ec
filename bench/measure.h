#pragma once

// Clocks, repeated runs and child processes for the benchmark cases.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vt::bench {

// One run: wall-clock and CPU seconds.
struct Sample {
  double wall = 0;
  double cpu = 0;
};

// The medians of several runs.
struct Figure {
  double wall = 0;
  double cpu = 0;
  int runs = 0;
};

Figure MedianOf(std::vector<Sample> samples);

// Times `timed` in this process `runs` times; `setup` runs untimed before
// each run (copying a pristine file into place, making a fresh object).
Figure Measure(int runs, const std::function<void()>& setup, const std::function<void()>& timed);
Figure Measure(int runs, const std::function<void()>& timed);

// Several measurements taking turns run by run, so that a busy machine slows
// them alike; one figure per job, in order.
struct Job {
  std::function<void()> setup;
  std::function<void()> timed;
};
std::vector<Figure> MeasureInTurn(int runs, const std::vector<Job>& jobs);

// The figure divided by `count` and scaled by `scale` (per item, in ns...).
Figure PerItem(Figure figure, double count, double scale);

// A child process that ran to its end.
struct ProcessRun {
  Sample time;      // CPU: the child's user and system time
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs `argv` (argv[0] a path) with the environment of this process plus
// `env` ("NAME=value"), standard input from /dev/null, output captured in
// files under `scratch`.
ProcessRun RunProcess(const std::vector<std::string>& argv, const std::filesystem::path& scratch,
                      const std::vector<std::string>& env = {});

// Like RunProcess, but throws with the command and its standard error unless
// it exits 0.
ProcessRun RunChecked(const std::vector<std::string>& argv, const std::filesystem::path& scratch,
                      const std::vector<std::string>& env = {});

// Child processes taking turns run by run; figures from the children's own
// clocks (wall-clock as seen here, CPU from their resource usage). `check`
// sees each finished run and throws when it did not do its work.
struct ProcessJob {
  std::function<void()> setup;
  std::vector<std::string> argv;
  std::vector<std::string> env;
  std::function<void(const ProcessRun&)> check;
};
std::vector<Figure> MeasureProcessesInTurn(int runs, const std::vector<ProcessJob>& jobs,
                                           const std::filesystem::path& scratch);

// Resident set size of this process now and at its peak (/proc/self/status), MB.
double CurrentRssMb();
double PeakRssMb();

double FileMb(const std::filesystem::path& file);

// What a peer's script printed: one line "WALL CPU" per run, and a line
// "WORD N" with a count for the caller to check.
struct ScriptRuns {
  Figure figure;
  std::size_t count = 0;
};
ScriptRuns ParseScriptRuns(const std::string& out, const std::string& count_word);

}  // namespace vt::bench
