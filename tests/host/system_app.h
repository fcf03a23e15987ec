#pragma once

// An application folder for tests that run several real FIX.exe processes,
// kill them or take their disk away, and the checks of what they left.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/workbook/workbook.h"
#include "tests/support/library_files.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace vt::testing {

struct SystemApp {
  std::filesystem::path pictures;
  std::filesystem::path dictionary() const { return pictures / "Veltrano" / "Veltrano.xls"; }
  std::filesystem::path ini() const { return pictures / "Veltrano" / "Veltrano.ini"; }
  std::filesystem::path log() const { return pictures / "Veltrano" / "Veltrano.log"; }
};

// A picture whose texts are `captions`, one text object each.
inline std::string PictureJson(const std::vector<std::string>& captions) {
  nlohmann::ordered_json objects = nlohmann::ordered_json::array();
  for (std::size_t i = 0; i < captions.size(); ++i) {
    objects.push_back(
        {{"TypeName", "Fix2DText"}, {"Name", "txt" + std::to_string(i)}, {"Caption", captions[i]}});
  }
  nlohmann::ordered_json picture{{"Comments", ""}, {"ContainedObjects", objects}};
  return picture.dump(1) + "\n";
}

// prefix + "0" .. prefix + (n - 1): texts the dictionary does not know yet.
inline std::vector<std::string> Numbered(const std::string& prefix, int n) {
  std::vector<std::string> texts;
  for (int i = 0; i < n; ++i) texts.push_back(prefix + std::to_string(i));
  return texts;
}

// "Known i" in three languages for i < known, warnings off so that batch runs
// report only failures.
inline SystemApp MakeSystemApp(const std::filesystem::path& root, int known,
                               const std::map<std::string, std::vector<std::string>>& pictures) {
  SystemApp app{root};
  std::filesystem::create_directories(app.pictures / "Veltrano");
  Rows rows;
  for (int i = 0; i < known; ++i) {
    const std::string n = std::to_string(i);
    rows.push_back({"Known " + n, "Bekannt " + n, "Noto " + n});
  }
  WriteWorkbook(app.dictionary(), ThreeLanguages(), rows);
  WriteWorkbook(app.pictures / "Veltrano" / "Veltrano_Alm.xls", ThreeLanguages(),
                {{"Alarm", "Alarm", "Allarme"}});
  WriteFile(app.ini(),
            "[PARAMETERS]\nInterpreterEnabled=Y\nShowInfoPanelOnStartup=N\n"
            "ShowWarningsForMissingTranslations=N\nTranslateInvisibleText=N\n"
            "DevelopmentLanguageNumber=1\nStartingLanguageNumber=1\nGetObjectsPrefix=N\n"
            "ObjectsTargetPrefix=\n[USERSLANG]\n");
  for (const auto& [name, captions] : pictures) {
    WriteFile(app.pictures / (name + ".grf"), PictureJson(captions));
  }
  return app;
}

// A FIX.exe run in the background, its output in `out` and `err`.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& out, const std::filesystem::path& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit status; -1 when the process did not exit (killed).
inline int WaitFor(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The column's texts below the header, read by our engine; throws when the
// workbook does not read or reads damaged.
inline std::vector<std::string> EngineColumn(const std::filesystem::path& file, std::size_t col) {
  workbook::Workbook book = workbook::Workbook::Open(file);
  if (!book.Damage().empty())
    throw std::runtime_error(file.string() + ": " + std::string(book.Damage()));
  const workbook::Sheet* sheet = book.FindSheet("Dictionary");
  if (sheet == nullptr) throw std::runtime_error(file.string() + ": no sheet Dictionary");
  std::vector<std::string> texts;
  for (std::size_t r = 1; r < sheet->RowCount(); ++r) texts.emplace_back(sheet->CellText(r, col));
  return texts;
}

// The same column as python3-xlrd reads it.
inline std::vector<std::string> XlrdColumn(const std::filesystem::path& file, std::size_t col) {
  const auto rows = ReadWithXlrd(file);
  std::vector<std::string> texts;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    texts.push_back(col < rows[r].size() ? rows[r][col].text : "");
  }
  return texts;
}

// Hidden entries (temporary files) anywhere below `root`.
inline std::vector<std::string> Temporaries(const std::filesystem::path& root) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.path().filename().string().starts_with(".")) found.push_back(entry.path().string());
  }
  return found;
}

inline std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

}  // namespace vt::testing
