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

// What a process that never calls Configure gets on the first message box: a
// script host other than FIX.exe that loads the library. VELTRANO_BATCH=1 is
// --batch, VELTRANO_ANSWERS and VELTRANO_TRANSCRIPT are --answers and
// --transcript; unset, the defaults. A wrong answers list is ignored with a
// notice, as no one can be asked to mend it.
Options OptionsFromEnvironment();

// The batch inputs of the last Configure (none before it).
const BatchInputs& CurrentBatchInputs();

}  // namespace vt::ui
