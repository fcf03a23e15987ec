// Peak memory of creation over the padded full-size dictionary, taken in a
// process of its own that does nothing else: what the peak rises above the
// process's size before creation, against the file's size. Beside it, the
// whole process against the peers' read-trim-write process.
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "bench/host_process.h"
#include "bench/inputs.h"
#include "bench/suite.h"
#include "platform/workbook/workbook.h"

namespace vt::bench {

namespace fs = std::filesystem;

int CreationChild(const fs::path& pictures) {
  InProcessHost host(pictures);
  const double before = CurrentRssMb();
  auto object = host.CreateReady();
  const double peak = PeakRssMb();
  object.reset();
  host.ExpectQuiet("creation");
  std::printf("%.3f %.3f\n", before, peak);
  return 0;
}

int LoadChild(const fs::path& file) {
  const double before = CurrentRssMb();
  const workbook::Workbook book = workbook::Workbook::Open(file);
  const double peak = PeakRssMb();
  std::printf("%.3f %.3f\n", before, peak);
  return book.SheetNames().empty() ? 1 : 0;
}

namespace {

// What a child's peak rose above its size at the start, from its output;
// `whole` takes the whole process's peak. Peaks are what the children read
// of themselves: the one the system reports at exit may be the peak of the
// process that started them, handed on through vfork.
Sample ChildRise(const std::vector<std::string>& command, const fs::path& scratch,
                 std::vector<Sample>* whole = nullptr) {
  const ProcessRun run = RunChecked(command, scratch);
  std::istringstream in(run.out);
  double before = 0, peak = 0;
  if (!(in >> before >> peak)) throw std::runtime_error("the child printed " + run.out);
  if (whole) whole->push_back({peak, peak});
  return {peak - before, peak - before};
}

// The peak the peer's script prints on stderr ("VmHWM: N kB").
double PeerPeakMb(const ProcessRun& run) {
  const std::size_t at = run.err.find("VmHWM:");
  if (at == std::string::npos) throw std::runtime_error("the peer printed no peak: " + run.err);
  return std::stod(run.err.substr(at + 6)) / 1024.0;
}

}  // namespace

std::vector<Row> RunMemoryCase(Context& context) {
  const fs::path file = PaddedDictionary(context);
  const fs::path pictures = MakePicturesFolder(context.scratch, file);

  std::vector<Sample> growth, whole, load;
  for (int i = 0; i < context.process_runs; ++i) {
    ResetDictionary(pictures, file);
    growth.push_back(ChildRise({context.self.string(), "--creation-child", pictures.string()},
                               context.scratch, &whole));
    load.push_back(
        ChildRise({context.self.string(), "--load-child", file.string()}, context.scratch));
  }
  Sample peer_whole;
  {
    const ProcessRun run = RunChecked(
        {"/usr/bin/python3", (context.source_dir / "bench/peers/xlrd_xlwt_trim.py").string(),
         file.string(), (context.scratch / "trimmed-by-xlwt.xls").string(), "1"},
        context.scratch);
    peer_whole = {PeerPeakMb(run), PeerPeakMb(run)};
  }
  const Figure size{FileMb(file), FileMb(file), 1};

  char note[160];
  std::snprintf(note, sizeof note,
                "peak resident set (VmHWM) less the resident set before creation, in a process "
                "that only creates the object; the file is %.1f MiB",
                FileMb(file));
  return {
      {"7 memory", "creation's peak rise", "the file's size", MedianOf(growth), size, "MiB",
       UnderTimes(3), note},
      {"7 memory", "load's peak rise", "the file's size", MedianOf(load), size, "MiB", std::nullopt,
       ""},
      {"7 memory",
       "whole process peak",
       "xlrd + xlwt process peak",
       MedianOf(whole),
       {peer_whole.wall, peer_whole.cpu, 1},
       "MiB",
       std::nullopt,
       ""},
  };
}

}  // namespace vt::bench
