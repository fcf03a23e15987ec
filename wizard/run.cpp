#include "wizard/run.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/command_line.h"
#include "platform/ui/configure.h"
#include "platform/ui/qt_application.h"
#include "wizard/frm_rostavel_view.h"
#include "wizard/preset.h"
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

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

CLI::Validator WordOf(const std::vector<std::string>& words, const std::string& kind) {
  return CLI::Validator(
      [words, kind](std::string& word) -> std::string {
        word = Lower(Trimmed(word));
        for (const std::string& known : words) {
          if (word == known) return {};
        }
        std::string list;
        for (const std::string& known : words) list += (list.empty() ? "" : ", ") + known;
        return "\"" + word + "\" is not " + kind + " (" + list + ")";
      },
      "");
}

FileChoice ChosenFiles(const std::vector<std::string>& words) {
  if (words.empty()) return FileChoice{};
  FileChoice choice{false, false, false, false};
  for (const std::string& word : words) {
    const bool all = word == "all";
    choice.dictionary = choice.dictionary || all || word == "dictionary";
    choice.alarms = choice.alarms || all || word == "alarms";
    choice.configuration = choice.configuration || all || word == "configuration";
    choice.module = choice.module || all || word == "module";
  }
  return choice;
}

// The folder as the dialog returns it: a full path without a trailing separator.
std::string FolderText(const std::string& folder) {
  std::string text = std::filesystem::absolute(folder).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

void Declare(CLI::App& app, Options& options) {
  app.add_flag("--batch", options.batch,
               "no window: Form_Load, Next, the folder, Next, the boxes, Next, Confirm, run "
               "through the wizard's own event procedures");
  app.add_option("--folder", options.folder,
                 "the pictures folder (what the folder dialog would return); preset in the "
                 "window")
      ->check(CLI::ExistingDirectory.description(""))
      ->type_name("DIR");
  app.add_option("--files", options.files,
                 "comma list of dictionary, alarms, configuration, module, or all (the check "
                 "boxes of page 2); default: all")
      ->delimiter(',')
      ->check(WordOf({"dictionary", "alarms", "configuration", "module", "all"}, "a file"))
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
  ui::Options ui_options;
  ui_options.batch = options.batch;
  ui_options.mode = options.batch ? ui::Mode::NoGui : ui::Mode::Gui;
  ui_options.answers = ui::AnswersFromWords(options.answers);
  if (options.transcript) ui_options.transcript_path = *options.transcript;
  ui_options.program_name = "Rostavel";
  ui::Configure(std::move(ui_options));
}

int RunWindow(const Options& options) {
  const auto application =
      ui::MakeApplication("Rostavel", kFailedOrAborted, "use --batch --folder DIR");
  // The wizard ends when its form unloads, not when a message box closes
  // after the window was hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  ConfigureMessageBoxes(options);

  FrmRostavelView view([] { QCoreApplication::quit(); });
  std::optional<std::string> folder;
  if (options.folder) folder = FolderText(*options.folder);
  const FileChoice files = ChosenFiles(options.files);
  view.Open([&](FrmRostavel& form) { PresetForm(form, folder, files); });
  if (!view.form().Unloaded()) QApplication::exec();
  const FrmRostavel& form = view.form();
  return form.Completed() && form.FailuresReported() == 0 ? kCompleted : kFailedOrAborted;
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
    if (options.batch) {
      ConfigureMessageBoxes(options);
      return RunUnattended(FolderText(*options.folder), ChosenFiles(options.files), err);
    }
    if (!ui::WindowsCanBeShown()) {
      err << "Rostavel: no display to show the window on; use --batch --folder DIR\n";
      return kFailedOrAborted;
    }
    return RunWindow(options);
  } catch (const ui::ConfigError& e) {
    err << "Rostavel: " << e.what() << '\n';
    return kWrongCommandLine;
  } catch (const std::exception& e) {
    err << "Rostavel: " << e.what() << '\n';
    return kFailedOrAborted;
  }
}

}  // namespace vt::wizard
