#include "platform/system/command_line_posix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/base/ascii.h"
#include "platform/base/trim.h"

namespace vt::system {

namespace {

std::string_view TrimBlanks(std::string_view text) { return base::Trim(text, base::kBlankOrTab); }

// The program word of shell text: up to the first blank, or between quotes.
std::string FirstWord(std::string_view command) {
  const std::string_view text = TrimBlanks(command);
  if (!text.empty() && (text.front() == '\'' || text.front() == '"')) {
    const auto close = text.find(text.front(), 1);
    if (close != std::string_view::npos) return std::string(text.substr(1, close - 1));
  }
  return std::string(text.substr(0, text.find_first_of(" \t")));
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string EditorCommand() {
  for (const char* name : {"VISUAL", "EDITOR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && !TrimBlanks(value).empty()) return std::string(TrimBlanks(value));
  }
  return "xdg-open";
}

std::string ToPosixCommandLine(std::string_view command_line, std::string_view editor) {
  const std::string_view line = TrimBlanks(command_line);
  const auto blank = line.find_first_of(" \t");
  const std::string_view program = line.substr(0, blank);
  if (!base::EqualsIgnoringAsciiCase(program, "notepad.exe") &&
      !base::EqualsIgnoringAsciiCase(program, "notepad")) {
    return std::string(command_line);
  }
  std::string result(editor);
  std::string_view path =
      blank == std::string_view::npos ? std::string_view{} : TrimBlanks(line.substr(blank));
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  if (!path.empty()) result += " " + ShellQuote(path);
  return result;
}

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  quoted += '\'';
  return quoted;
}

std::optional<std::string> FindProgram(std::string_view command) {
  const std::string word = FirstWord(command);
  if (word.empty()) return std::nullopt;
  if (word.find('/') != std::string::npos) {
    return IsExecutableFile(word) ? std::optional<std::string>(word) : std::nullopt;
  }
  const char* path_variable = std::getenv("PATH");
  std::string_view search = path_variable != nullptr ? path_variable : "/usr/bin:/bin";
  while (true) {
    const auto colon = search.find(':');
    std::string folder(search.substr(0, colon));
    if (folder.empty()) folder = ".";
    std::string candidate = folder + "/" + word;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) break;
    search.remove_prefix(colon + 1);
  }
  return std::nullopt;
}

}  // namespace vt::system
