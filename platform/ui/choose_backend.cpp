#include <utility>

#include "platform/base/trim.h"
#include "platform/ui/configure.h"

namespace vt::ui {
namespace {

std::string_view Trim(std::string_view s) { return base::Trim(s, base::kBlankOrTab); }

bool NobodyCanSee(const std::string& platform) {
  return platform == "offscreen" || platform == "minimal" || platform == "minimalegl";
}

}  // namespace

std::vector<Answer> ParseAnswers(std::string_view list) {
  std::vector<Answer> answers;
  if (Trim(list).empty()) return answers;
  std::size_t start = 0;
  for (int place = 1;; ++place) {
    const std::size_t comma = list.find(',', start);
    const std::string_view item =
        Trim(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start));
    const std::string where =
        "answer " + std::to_string(place) + " of the answers list \"" + std::string(list) + "\"";
    if (item.empty()) throw ConfigError(where + " is empty; expected ok, cancel, yes or no");
    const auto answer = AnswerFromWord(item);
    if (!answer || !(*answer == Answer::Ok || *answer == Answer::Cancel || *answer == Answer::Yes ||
                     *answer == Answer::No)) {
      throw ConfigError(where + ", \"" + std::string(item) +
                        "\", is not one of ok, cancel, yes, no");
    }
    answers.push_back(*answer);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return answers;
}

BackendKind ChooseBackend(const Options& options, const Surroundings& surroundings) {
  if (options.batch) return BackendKind::Batch;
  if (options.mode == Mode::Gui) {
    if (!surroundings.has_widget_application) {
      throw ConfigError(
          "windows were asked for, but this process has no Qt application (is there a "
          "display?)");
    }
    return BackendKind::Qt;
  }
  if (options.mode == Mode::Auto && surroundings.has_widget_application &&
      !NobodyCanSee(surroundings.platform_name)) {
    return BackendKind::Qt;
  }
  return surroundings.has_terminal ? BackendKind::Terminal : BackendKind::Batch;
}

}  // namespace vt::ui
