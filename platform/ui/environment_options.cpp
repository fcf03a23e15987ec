#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/system/env.h"
#include "platform/system/environment_variables.h"
#include "platform/ui/batch_backend.h"
#include "platform/ui/configure.h"
#include "platform/ui/process_state.h"

namespace vt::ui {
namespace {

constexpr const char* kBatch = "VELTRANO_BATCH";
constexpr const char* kAnswers = "VELTRANO_ANSWERS";
constexpr const char* kTranscript = "VELTRANO_TRANSCRIPT";
constexpr const char* kSelect = "VELTRANO_SELECT";
constexpr const char* kLangNumber = "VELTRANO_LANG_NUMBER";
constexpr const char* kProgram = "VELTRANO_PROGRAM";

std::string Variable(const char* name) {
  return system::ReadEnvironmentVariable(name).value_or(std::string());
}

std::string AnswerList(const std::vector<Answer>& answers, std::size_t from) {
  std::string list;
  for (std::size_t i = from; i < answers.size(); ++i) {
    if (!list.empty()) list += ',';
    list += AnswerWord(answers[i]);
  }
  return list;
}

// The first answer of VELTRANO_ANSWERS; the rest stay there for the next box,
// whichever module of the process shows it.
std::optional<Answer> TakeSharedAnswer() {
  std::vector<Answer> answers;
  try {
    answers = ParseAnswers(Variable(kAnswers));
  } catch (const ConfigError& e) {
    detail::Notice(std::string(kAnswers) + " ignored: " + e.what());
    system::WriteEnvironmentVariable(kAnswers, "");
    return std::nullopt;
  }
  if (answers.empty()) return std::nullopt;
  system::WriteEnvironmentVariable(kAnswers, AnswerList(answers, 1));
  return answers.front();
}

}  // namespace

Options OptionsFromEnvironment() {
  Options options;
  options.batch = Variable(kBatch) == "1";
  options.note_failures = options.batch;
  options.transcript_path = Variable(kTranscript);
  options.program_name = Variable(kProgram);
  options.shared_answers = true;
  try {
    options.answers = ParseAnswers(Variable(kAnswers));
  } catch (const ConfigError& e) {
    // Nobody can be asked again here: the boxes take their safe answers.
    detail::Notice(std::string(kAnswers) + " ignored: " + std::string(e.what()));
    try {
      system::WriteEnvironmentVariable(kAnswers, "");
    } catch (const system::SystemError&) {
      // Each box then says again that the list is ignored.
    }
  }
  const std::string select = Variable(kSelect);
  for (std::size_t start = 0; !select.empty() && start <= select.size();) {
    const std::size_t comma = std::min(select.find(',', start), select.size());
    const std::string name = select.substr(start, comma - start);
    if (name == "*") {
      options.batch_inputs.select_all = true;
    } else if (!name.empty()) {
      options.batch_inputs.select.push_back(name);
    }
    start = comma + 1;
  }
  if (std::string lang_number = Variable(kLangNumber); !lang_number.empty()) {
    options.batch_inputs.lang_number = std::move(lang_number);
  }
  return options;
}

void ExportToEnvironment(const Options& options) {
  std::string select = options.batch_inputs.select_all ? "*" : "";
  for (const std::string& name : options.batch_inputs.select) {
    select += (select.empty() ? "" : ",") + name;
  }
  try {
    system::WriteEnvironmentVariable(kBatch, options.batch ? "1" : "");
    system::WriteEnvironmentVariable(kAnswers, AnswerList(options.answers, 0));
    system::WriteEnvironmentVariable(kTranscript, options.transcript_path);
    system::WriteEnvironmentVariable(kSelect, select);
    system::WriteEnvironmentVariable(kLangNumber, options.batch_inputs.lang_number.value_or(""));
    system::WriteEnvironmentVariable(kProgram, options.program_name);
  } catch (const system::SystemError& e) {
    throw ConfigError(std::string("the message-box settings cannot be handed on: ") + e.what());
  }
}

namespace detail {

std::shared_ptr<Backend> MakeBatchBackend(Options& options) {
  auto notify = [](const std::string& message) { Notice(message); };
  if (options.shared_answers) {
    return std::make_shared<BatchBackend>(BatchBackend::AnswerSource(TakeSharedAnswer), notify);
  }
  return std::make_shared<BatchBackend>(std::move(options.answers), notify);
}

}  // namespace detail
}  // namespace vt::ui
