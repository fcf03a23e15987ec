#pragma once

// The benchmark cases and the table they fill: each row is one of our
// figures beside one peer's, their ratio, and the goal it is held to.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/measure.h"

namespace vt::bench {

// ratio = ours / peer, so lower is better; a goal is a ratio to stay under
// (or at). A row without a goal is shown for comparison only.
struct Goal {
  double limit = 0;
  bool inclusive = false;  // "at most" instead of "under"
  std::string text;        // as the table shows it: "10x faster", "< 1.1x"
  bool on_cpu = false;     // held to the CPU times' ratio, not wall-clock
};

Goal AtLeastTimesFaster(double times);
Goal UnderTimes(double times);
Goal AtMostTimes(double times);
Goal AtMostTimesOnCpu(double times);
Goal Faster();

struct Row {
  std::string case_name;
  std::string ours_what;  // what our figure is
  std::string peer_what;  // what the peer's figure is
  Figure ours;
  Figure peer;
  std::string unit = "s";  // "s", "ns", "MiB"
  std::optional<Goal> goal;
  std::string note;  // printed under the table
};

bool Passes(const Row& row);

// Where a case works and what it may reuse.
struct Context {
  std::filesystem::path source_dir;  // the checkout
  std::filesystem::path binary_dir;  // the build tree (bin/FIX.exe, lib/libveltrano.so)
  std::filesystem::path self;        // this program
  std::filesystem::path cache;       // inputs kept between runs (LibreOffice's output)
  std::filesystem::path scratch;     // emptied for each case
  int runs = 5;                      // in-process runs per figure
  int process_runs = 3;              // child-process runs per figure
};

struct Case {
  std::string name;
  std::string title;
  std::function<std::vector<Row>(Context&)> run;
};

std::vector<Case> AllCases();

void PrintTable(const std::vector<Row>& rows);

// The cases, one file each.
std::vector<Row> RunLoadCase(Context& context);
std::vector<Row> RunCreationCase(Context& context);
std::vector<Row> RunLookupsCase(Context& context);
std::vector<Row> RunPictureCase(Context& context);
std::vector<Row> RunNewTextsCase(Context& context);
std::vector<Row> RunUpdateCase(Context& context);
std::vector<Row> RunMemoryCase(Context& context);
std::vector<Row> RunWindowsCase(Context& context);
std::vector<Row> RunDictCase(Context& context);

// The child side of the memory case (`veltrano_bench --creation-child DIR`):
// creates the object over the pictures folder DIR and prints its memory.
int CreationChild(const std::filesystem::path& pictures);
// `veltrano_bench --load-child FILE`: opens the workbook FILE, prints its memory.
int LoadChild(const std::filesystem::path& file);

}  // namespace vt::bench
