// Runs one table of file-existence and wildcard cases through Env::FileExists
// and Env::ListFiles and prints the results (listings sorted: the order of a
// folder listing is the file system's). Built for Linux and for Windows; a
// test requires the two outputs to be the same, except for the cases marked
// "~", the differences listed in docs/architecture.md.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/system/env.h"
#include "tests/system/probe_output.h"

namespace {

namespace fs = std::filesystem;
using vt::system::probe::Print;

const char* const kFiles[] = {"Main.grf",  "Second.GRF",    "a.grfx",      "README",
                              "x.grf.bak", "two words.grf", "Ünïcode.grf", "ab.grf"};
const char* const kFolders[] = {"sub", "folder.grf"};

const char* const kExists[] = {"Main.grf",       "MAIN.GRF",    "main.grf",   "Second.GRF",
                               "README",         "sub",         "folder.grf", "missing.grf",
                               "two words.grf",  "Ünïcode.grf", "Main.gr",    "Main.grf.",
                               "sub/nothing.grf"};

const char* const kPatterns[] = {"*.grf",  "*.GRF",  "M*",  "?ain.grf", "??.grf", "*",     "*.*",
                                 "a.grf?", "*.grf*", "*o*", "Ünï*",     "*.bak",  "README"};

// UTF-8 names on either platform (a plain char path is the ANSI code page on
// Windows).
fs::path Utf8Path(const std::string& name) {
  return fs::path(std::u8string(name.begin(), name.end()));
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// Windows file names ignore letter case and trailing dots, and its wildcard
// search also matches short (8.3) names: "*.grf" finds "a.grfx".
const char* const kListedDifferences[] = {"exists MAIN.GRF", "exists main.grf", "exists Main.grf.",
                                          "list *.grf", "list *.GRF"};

std::string Marked(const std::string& what, const std::string& name) {
  const std::string label = what + name;
  for (const char* listed : kListedDifferences) {
    if (label == listed) return "~ " + label;
  }
  return label;
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / "vt-files-probe";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const char* name : kFiles) std::ofstream(folder / Utf8Path(name)) << "x";
  for (const char* name : kFolders) fs::create_directory(folder / Utf8Path(name));
  vt::system::Env& env = vt::system::CurrentEnv();
  const std::string base = Utf8(folder);
  for (const char* name : kExists) {
    Print(Marked("exists ", name), env.FileExists(base + "/" + name) ? "yes" : "no");
  }
  for (const char* pattern : kPatterns) {
    std::vector<std::string> names = env.ListFiles(base, pattern);
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : "|") + name;
    Print(Marked("list ", pattern), joined);
  }
  Print("list in a missing folder",
        env.ListFiles(base + "/missing", "*").empty() ? "none" : "some");
  fs::remove_all(folder);
  return 0;
}
