#include "wizard/run.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/ascii.h"
#include "platform/base/trim.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/command_line.h"
#include "platform/ui/configure.h"
#include "platform/ui/existing_path.h"
#include "platform/ui/transcript.h"
#include "wizard/preset.h"
#include "wizard/run_window.h"
#include "wizard/unattended.h"

namespace vt::wizard {
namespace {

constexpr int kCompleted = 0;
constexpr int kFailedOrAborted = 1;
constexpr int kWrongCommandLine = 2;

struct Options {
  bool batch = false;
  std::optional<std::string> folder;
  std::vector<std::string> files;
  std::vector<std::string> answers;
  std::optional<std::string> transcript;
};

// The words of --files, each trimmed and without regard to case; an empty or
// unknown word is a wrong command line (ui::ConfigError).
FileChoice ChosenFiles(const std::vector<std::string>& lists) {
  if (lists.empty()) return FileChoice{};
  FileChoice choice{false, false, false, false};
  for (const std::string& list : lists) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = std::min(list.find(',', start), list.size());
      const std::string word =
          base::ToAsciiLower(base::Trim(std::string_view(list).substr(start, comma - start)));
      if (word.empty()) throw ui::ConfigError("--files: an empty word in \"" + list + "\"");
      if (word == "all") {
        choice = FileChoice{};
      } else if (word == "dictionary") {
        choice.dictionary = true;
      } else if (word == "alarms") {
        choice.alarms = true;
      } else if (word == "configuration") {
        choice.configuration = true;
      } else if (word == "module") {
        choice.module = true;
      } else {
        throw ui::ConfigError("--files: \"" + word +
                              "\" is not a file (dictionary, alarms, configuration, module, all)");
      }
      if (comma == list.size()) break;
      start = comma + 1;
    }
  }
  return choice;
}

// The folder as the dialog returns it: a full path without a trailing separator.
std::string FolderText(const std::string& folder) {
  std::string text = system::Utf8FromPath(
      std::filesystem::absolute(system::PathFromUtf8(folder)).lexically_normal());
  while (text.size() > 1 && (text.back() == '/' || text.back() == '\\') &&
         text[text.size() - 2] != ':') {
    text.pop_back();
  }
  return text;
}

void Declare(CLI::App& app, Options& options) {
  app.add_flag("--batch", options.batch,
               "no window: Form_Load, Next, the folder, Next, the boxes, Next, Confirm, run "
               "through the wizard's own event procedures");
  app.add_option("--folder", options.folder,
                 "the pictures folder (what the folder dialog would return); preset in the "
                 "window")
      ->check(CLI::Validator(ui::ExistingDirectory()).description(""))
      ->type_name("DIR");
  // Split and checked by ChosenFiles: CLI11 drops empty words of a list.
  app.add_option("--files", options.files,
                 "comma list of dictionary, alarms, configuration, module, or all (the check "
                 "boxes of page 2); default: all")
      ->type_name("LIST");
  ui::AddAnswersOption(app, options.answers,
                       "comma list of answers for message boxes, in order: yes, no, ok, cancel; "
                       "when none is left the safe one is taken (No, OK)");
  app.add_option("--transcript", options.transcript,
                 "append every message box and window shown, as one JSON object a line")
      ->type_name("FILE");
  app.footer(
      "Copies the template files of the Kelmora folder beside this program into the Veltrano "
      "folder of an iFix application's pictures folder.\n\n"
      "Unattended: Rostavel --batch --folder DIR [--files LIST] [--answers LIST] "
      "[--transcript FILE]\nasks nothing; every question to overwrite a file takes the next "
      "answer (No when none is left).\nExit status: 0 when \"Rostavel has completed !\" was "
      "shown, 1 when a failure was reported (see Rostavel.log beside this program) or the run "
      "was aborted, 2 for a wrong command line.\n");
}

void ConfigureMessageBoxes(const Options& options) {
  // Checked before anything runs, so that no box is lost.
  if (options.transcript) {
    const std::string problem = ui::AppendTranscriptLine(*options.transcript, "");
    if (!problem.empty()) throw ui::ConfigError("--transcript: " + problem);
  }
  ui::Options ui_options;
  ui_options.batch = options.batch;
  ui_options.mode = options.batch ? ui::Mode::NoGui : ui::Mode::Gui;
  ui_options.answers = ui::AnswersFromWords(options.answers);
  if (options.transcript) ui_options.transcript_path = *options.transcript;
  ui_options.program_name = "Rostavel";
  ui::Configure(std::move(ui_options));
}

}  // namespace

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Options options;
  CLI::App app{"Rostavel: prepares an iFix application for Veltrano", "Rostavel"};
  Declare(app, options);
  app.get_option("--batch")->needs(app.get_option("--folder"));

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kCompleted;
  } catch (const CLI::ParseError& e) {
    err << "Rostavel: " << e.what() << "\n\n" << app.help();
    return kWrongCommandLine;
  }

  try {
    const FileChoice files = ChosenFiles(options.files);
    if (options.batch) {
      ConfigureMessageBoxes(options);
      return RunUnattended(FolderText(*options.folder), files, err);
    }
    if (!CanShowWindow()) {
      err << "Rostavel: no display to show the window on; use --batch --folder DIR\n";
      return kFailedOrAborted;
    }
    std::optional<std::string> folder;
    if (options.folder) folder = FolderText(*options.folder);
    return RunWindow(folder, files, [&options] { ConfigureMessageBoxes(options); });
  } catch (const ui::ConfigError& e) {
    err << "Rostavel: " << e.what() << '\n';
    return kWrongCommandLine;
  } catch (const std::exception& e) {
    err << "Rostavel: " << e.what() << '\n';
    return kFailedOrAborted;
  }
}

}  // namespace vt::wizard
