#include "host/options.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "platform/base/trim.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/command_line.h"
#include "platform/ui/existing_path.h"

namespace vt::host {
namespace {

// The number is typed into a box that takes two digits: a value it cannot
// take whole would be typed as another number ("007" as "00", "-1" as "1").
const CLI::Validator kTypedNumber(
    [](std::string& value) -> std::string {
      const bool digits =
          std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
      if (!digits) return "\"" + value + "\" cannot be typed into the number box: digits only";
      if (value.size() > 2) {
        return "\"" + value + "\" cannot be typed into the number box: two digits at most";
      }
      return {};
    },
    "N");

}  // namespace

void AddOptions(CLI::App& app, Options& options) {
  app.add_option_function<std::string>(
         "--pictures",
         [&options](const std::string& folder) { options.pictures = system::PathFromUtf8(folder); },
         "the pictures folder (what System.FixPath(1) reports); default: the current folder")
      ->check(ui::ExistingDirectory())
      ->type_name("DIR");
  app.add_flag("--batch", options.batch,
               "never prompt: message boxes and dialogs take their answers from --answers, "
               "--select and --lang-number");
  ui::AddAnswersOption(app, options.answers,
                       "comma list of answers for message boxes, in order: ok, cancel, yes, no");
  app.add_option("--select", options.select,
                 "picture-selection dialogs: check these pictures (comma list), or * for all")
      ->delimiter(',')
      ->type_name("LIST|*");
  app.add_option("--lang-number", options.lang_number,
                 "picture-selection dialogs: the number typed in the box (two digits at most)")
      ->check(kTypedNumber)
      ->type_name("N");
  app.add_option("--transcript", options.transcript,
                 "append every message box shown, as one JSON object a line")
      ->type_name("FILE");
  auto* gui = app.add_flag_callback(
      "--gui", [&options] { options.gui = GuiMode::Gui; }, "force Qt windows");
  auto* no_gui = app.add_flag_callback(
      "--no-gui", [&options] { options.gui = GuiMode::NoGui; }, "no windows");
  gui->excludes(no_gui);
}

void FinishOptions(Options& options) {
  namespace fs = std::filesystem;
  options.pictures =
      (options.pictures.empty() ? fs::current_path() : fs::absolute(options.pictures))
          .lexically_normal();
  std::vector<std::string> names;
  for (const auto& name : options.select) {
    if (base::Trim(name) == "*") {
      options.select_all = true;
    } else if (!name.empty()) {
      names.push_back(name);
    }
  }
  options.select = std::move(names);
}

std::string FixPathText(const std::filesystem::path& pictures) {
  std::string text = system::Utf8FromPath(pictures);
  const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
  while (!text.empty() && (text.back() == '/' || text.back() == separator)) text.pop_back();
  return text;
}

}  // namespace vt::host
