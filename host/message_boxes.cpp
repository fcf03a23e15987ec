#include "host/message_boxes.h"

#include <string>
#include <utility>

#include "platform/ui/command_line.h"
#include "platform/ui/transcript.h"

namespace vt::host {

ui::Options MessageBoxOptions(const Options& options) {
  if (options.transcript) {
    const std::string problem = ui::AppendTranscriptLine(*options.transcript, "");
    if (!problem.empty()) throw ui::ConfigError("--transcript: " + problem);
  }
  ui::Options ui_options;
  ui_options.mode = options.gui == GuiMode::Gui     ? ui::Mode::Gui
                    : options.gui == GuiMode::NoGui ? ui::Mode::NoGui
                                                    : ui::Mode::Auto;
  ui_options.batch = options.batch;
  ui_options.answers = ui::AnswersFromWords(options.answers);
  if (options.transcript) ui_options.transcript_path = *options.transcript;
  ui_options.program_name = "FIX.exe";
  ui_options.note_failures = true;
  ui_options.batch_inputs.select_all = options.select_all;
  ui_options.batch_inputs.select = options.select;
  ui_options.batch_inputs.lang_number = options.lang_number;
  return ui_options;
}

}  // namespace vt::host
