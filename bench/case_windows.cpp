// Creation by the Windows build under Wine beside the Linux build's: the
// Windows FIX.exe of each architecture built runs a script that creates the
// interpreter over a 60,000-row dictionary and translates one text, and the
// Linux FIX.exe runs the same script in Lua. From each, the same program's
// run of the script without creation is taken away (the process's start-up,
// under Wine Wine's own as well), so that the figures are creation's own.
#include <cstdio>
#include <stdexcept>

#include "bench/allocations.h"
#include "bench/fix_exe.h"
#include "bench/inputs.h"
#include "bench/suite.h"
#include "bench/texts.h"
#include "platform/workbook/workbook.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRows = 60000;
constexpr int kLanguages = 8;
constexpr const char* kWineFolder = "/usr/lib/wine";

struct Architecture {
  const char* name;    // as the preset names it
  const char* loader;  // the Wine loader of its bitness
};
constexpr Architecture kArchitectures[] = {{"x64", "wine64"}, {"x86", "wine"}};

std::string WindowsPath(const fs::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

// A row in the middle of the dictionary whose translation is ASCII, so that
// no code page stands between the output and the comparison.
std::size_t KnownRow() {
  for (std::size_t row = kRows / 2; row <= kRows; ++row) {
    bool ascii = true;
    for (char c : DictionaryText(row, 2)) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return row;
  }
  throw std::runtime_error("no dictionary row has an ASCII translation");
}

Figure Minus(const Figure& a, const Figure& b) { return {a.wall - b.wall, a.cpu - b.cpu, a.runs}; }

}  // namespace

std::vector<Row> RunWindowsCase(Context& context) {
  const fs::path file = OurDictionary(context, kRows, kLanguages);
  // What the Windows heap pays for most: the allocations of a load, counted
  // in this process (the same code).
  const std::size_t allocations_before = AllocationCount();
  workbook::Workbook::Open(file);
  const std::size_t load_allocations = AllocationCount() - allocations_before;
  const fs::path pictures = MakePicturesFolder(context.scratch, file);
  const std::size_t row = KnownRow();
  const std::string known = DictionaryText(row, 1);
  const std::string expected = DictionaryText(row, 2) + "\n";
  auto reset = [&] { ResetDictionary(pictures, file); };
  auto expect = [](const std::string& want) {
    return [want](const ProcessRun& run) {
      std::string out = run.out;
      std::erase(out, '\r');
      if (out != want) {
        throw std::runtime_error("the script printed \"" + out + "\", not \"" + want +
                                 "\": " + run.err.substr(0, 2000));
      }
    };
  };

  const FixExe fix(context);
  const fs::path lua = context.source_dir / "bench/host_scripts/create_module.lua";
  std::vector<ProcessJob> jobs = {
      {reset, fix.Argv(pictures, {"run", lua.string(), known}), fix.Env(), expect(expected)},
      {reset, fix.Argv(pictures, {"run", lua.string()}), fix.Env(), expect("idle\n")},
  };

  // One 64-bit prefix, kept in the cache (making one takes a minute), in
  // which each architecture's DLL registers in its own view. A persistent
  // server keeps Wine's own processes running between the runs.
  const fs::path prefix = context.cache / "wine-prefix";
  const std::vector<std::string> wine_env = {"WINEPREFIX=" + prefix.string(), "WINEDEBUG=-all",
                                             "WINEDLLOVERRIDES=mscoree,mshtml=", "DISPLAY="};
  const std::string wineserver = std::string(kWineFolder) + "/wineserver";
  const fs::path vbs = context.source_dir / "bench/host_scripts/create_module.vbs";
  std::vector<std::string> built;
  for (const Architecture& arch : kArchitectures) {
    const fs::path bin =
        context.source_dir / "build" / ("windows-" + std::string(arch.name)) / "bin";
    const std::string wine = std::string(kWineFolder) + "/" + arch.loader;
    if (!fs::exists(bin / "FIX.exe") || !fs::exists(bin / "Veltrano.dll") || !fs::exists(wine)) {
      std::printf("  %s skipped: it needs %s and %s (cmake --build --preset windows-%s)\n",
                  arch.name, wine.c_str(), (bin / "FIX.exe").c_str(), arch.name);
      continue;
    }
    if (built.empty()) {
      if (!fs::exists(prefix / "system.reg")) {
        RunChecked({wine, "wineboot", "-i"}, context.scratch, wine_env);
      }
      RunProcess({wineserver, "-k"}, context.scratch, wine_env);  // none may be running
      RunChecked({wineserver, "-p"}, context.scratch, wine_env);
    }
    RunChecked({wine, "regsvr32", "/s", WindowsPath(bin / "Veltrano.dll")}, context.scratch,
               wine_env);
    auto argv = [&](const std::vector<std::string>& args) {
      std::vector<std::string> all = {wine,
                                      (bin / "FIX.exe").string(),
                                      "--batch",
                                      "--pictures",
                                      WindowsPath(pictures),
                                      "run",
                                      WindowsPath(vbs)};
      all.insert(all.end(), args.begin(), args.end());
      return all;
    };
    // A first run starts what Wine starts once per session.
    RunChecked(argv({}), context.scratch, wine_env);
    jobs.push_back({reset, argv({known}), wine_env, expect(expected)});
    jobs.push_back({reset, argv({}), wine_env, expect("idle\n")});
    built.push_back(arch.name);
  }
  if (built.empty()) throw std::runtime_error("no Windows build to compare");

  std::vector<Figure> figures;
  try {
    figures = MeasureProcessesInTurn(context.process_runs, jobs, context.scratch);
  } catch (...) {
    RunProcess({wineserver, "-k"}, context.scratch, wine_env);
    throw;
  }
  RunProcess({wineserver, "-k"}, context.scratch, wine_env);

  const Figure linux_creation = Minus(figures[0], figures[1]);
  std::vector<Row> rows;
  for (std::size_t i = 0; i < built.size(); ++i) {
    const Figure& create = figures[2 + 2 * i];
    const Figure& idle = figures[3 + 2 * i];
    char note[400];
    std::snprintf(note, sizeof note,
                  "%zu rows x %d languages, %.1f MiB, loaded with %zu allocations; CPU: %s %.3f s "
                  "creating less %.3f s idle, Linux %.3f s less %.3f s (the idle run: the "
                  "program's and Wine's start-up)",
                  kRows, kLanguages, FileMb(file), load_allocations, built[i].c_str(), create.cpu,
                  idle.cpu, figures[0].cpu, figures[1].cpu);
    rows.push_back({"8 windows", built[i] + " creation under Wine", "Linux creation",
                    Minus(create, idle), linux_creation, "s", AtMostTimesOnCpu(1.25), note});
  }
  return rows;
}

}  // namespace vt::bench
