#include <string>

#include "platform/system/environment.h"
#include "platform/ui/configure.h"
#include "platform/ui/process_state.h"

namespace vt::ui {
namespace {

std::string Variable(const char* name) { return system::EnvironmentVariable(name).value_or(""); }

}  // namespace

Options OptionsFromEnvironment() {
  Options options;
  options.batch = Variable("VELTRANO_BATCH") == "1";
  options.transcript_path = Variable("VELTRANO_TRANSCRIPT");
  try {
    options.answers = ParseAnswers(Variable("VELTRANO_ANSWERS"));
  } catch (const ConfigError& e) {
    // Nobody can be asked again here: the boxes take their safe answers.
    detail::Notice("VELTRANO_ANSWERS ignored: " + std::string(e.what()));
  }
  return options;
}

}  // namespace vt::ui
