#include "platform/ui/batch_backend.h"

#include <utility>

namespace vt::ui {
namespace {

std::string ButtonList(Buttons buttons) {
  std::string list;
  for (Answer a : ButtonsOf(buttons)) {
    if (!list.empty()) list += '/';
    list += AnswerLabel(a);
  }
  return list;
}

}  // namespace

BatchBackend::BatchBackend(std::vector<Answer> answers, Notifier notify)
    : answers_(std::move(answers)), notify_(std::move(notify)) {}

BatchBackend::BatchBackend(AnswerSource source, Notifier notify)
    : source_(std::move(source)), notify_(std::move(notify)) {}

std::optional<Answer> BatchBackend::NextAnswer() {
  if (source_) return source_();
  if (next_ >= answers_.size()) return std::nullopt;
  return answers_[next_++];
}

Answer BatchBackend::ShowMessage(const MessageRequest& request) {
  const Buttons buttons = request.decoded.buttons;
  const Answer safe = SafeAnswer(buttons);
  const std::string box = "message box \"" + std::string(request.title) + "\"";
  const std::optional<Answer> next = NextAnswer();
  if (!next) {
    if (notify_)
      notify_("no answer left for " + box + "; taking " + std::string(AnswerLabel(safe)));
    return safe;
  }
  const Answer given = *next;
  if (Fits(given, buttons)) return given;
  if (notify_) {
    notify_("answer \"" + std::string(AnswerWord(given)) + "\" does not fit " + box + " (" +
            ButtonList(buttons) + "); taking " + std::string(AnswerLabel(safe)));
  }
  return safe;
}

}  // namespace vt::ui
