#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace vt::host {

enum class GuiMode { Auto, Gui, NoGui };

// The options that come before the command.
struct Options {
  std::filesystem::path pictures;  // absolute, no trailing separator
  bool batch = false;
  std::vector<std::string> answers;  // "ok", "cancel", "yes", "no", in order
  bool select_all = false;           // --select *
  std::vector<std::string> select;   // picture names to check
  std::optional<std::string> lang_number;
  std::optional<std::string> transcript;  // UTF-8
  GuiMode gui = GuiMode::Auto;
};

// Declares the options on `app`; they land in `options` when it parses.
void AddOptions(CLI::App& app, Options& options);

// Completes what parsing left raw (the pictures folder made absolute,
// --select split). Call after a successful parse.
void FinishOptions(Options& options);

// The pictures folder as System.FixPath(1) reports it: no trailing separator.
std::string FixPathText(const std::filesystem::path& pictures);

}  // namespace vt::host
