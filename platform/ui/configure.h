#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/style.h"

namespace vt::ui {

// A wrong option given to Configure / ParseAnswers; the message names it.
class ConfigError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Mode { Auto, Gui, NoGui };

// What the batch views of the picture-selection dialogs do in place of a
// person: the entries to check (or all of them) and the number to type.
struct BatchInputs {
  bool select_all = false;
  std::vector<std::string> select;
  std::optional<std::string> lang_number;
};

struct Options {
  Mode mode = Mode::Auto;
  // Never prompt: answers come from `answers`, then the safe answer.
  bool batch = false;
  std::vector<Answer> answers;
  // The answers are VELTRANO_ANSWERS's instead, taken one a box and the rest
  // left there, so that every module of the process that carries its own
  // copy of this code (a host and the library it loaded) answers its boxes
  // from the one list, in the order they are shown.
  bool shared_answers = false;
  // In batch mode, each box with the critical icon (a failure) is also told
  // on stderr as one line (FailureNote), so that its cause is not lost.
  bool note_failures = false;
  // Append every message box here, one JSON object a line; empty: no transcript.
  std::string transcript_path;
  // Starts the notices printed on stderr; empty: the process's own name.
  std::string program_name;
  BatchInputs batch_inputs;
};

// "ok,cancel,yes,no": comma separated, letter case and blanks around a word
// ignored; an empty list gives no answers. Throws ConfigError naming the bad
// word and its place.
std::vector<Answer> ParseAnswers(std::string_view list);

enum class BackendKind { Qt, Terminal, Batch };

// What the process offers, for the choice below.
struct Surroundings {
  bool has_widget_application = false;  // a QApplication exists
  std::string platform_name;            // Qt's platform plugin ("xcb", "offscreen", ...)
  bool has_terminal = false;            // stdin is a TTY
};

Surroundings CurrentSurroundings();

// --batch wins; Gui needs a QApplication (ConfigError otherwise); Auto takes
// Qt when there is a QApplication on a real display, then, like NoGui, the
// terminal when there is one, else batch.
BackendKind ChooseBackend(const Options& options, const Surroundings& surroundings);

// Chooses and installs the process's back end and transcript. Called once by
// the host at start; a later call replaces the earlier choice. Throws
// ConfigError when the options cannot be honoured.
void Configure(Options options);

// What a module that never calls Configure gets on its first message box: a
// script host other than FIX.exe that loads the library, or the library
// loaded by FIX.exe on Windows, where each carries its own copy of this code.
// VELTRANO_BATCH=1 is --batch (and failures noted on stderr),
// VELTRANO_ANSWERS (shared, see Options) and VELTRANO_TRANSCRIPT are
// --answers and --transcript, VELTRANO_SELECT and VELTRANO_LANG_NUMBER the
// batch inputs (--select, --lang-number), VELTRANO_PROGRAM the name notices
// start with; unset, the defaults. A wrong answers list is ignored with a
// notice, as no one can be asked to mend it.
Options OptionsFromEnvironment();

// Sets those variables in the process's environment from `options`, so that
// every module of the process configures itself alike (FIX.exe on Windows,
// before the library is loaded). Throws ConfigError when it cannot.
void ExportToEnvironment(const Options& options);

// The batch inputs of the last Configure (none before it).
const BatchInputs& CurrentBatchInputs();

}  // namespace vt::ui
