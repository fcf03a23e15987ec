#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/backend.h"

namespace vt::ui {

// Answers message boxes from a list given up front, in order. When the list
// is used up, or the next answer is not one of the box's buttons (it is used
// up all the same, so later answers keep their places), the box takes its
// safe answer and `notify` is told why.
class BatchBackend final : public Backend {
 public:
  using Notifier = std::function<void(const std::string&)>;
  // The next answer, or nothing when there is none left.
  using AnswerSource = std::function<std::optional<Answer>()>;

  BatchBackend(std::vector<Answer> answers, Notifier notify);
  // Answers taken from `source`, one a box.
  BatchBackend(AnswerSource source, Notifier notify);

  std::string_view Name() const override { return "batch"; }
  Answer ShowMessage(const MessageRequest& request) override;
  bool Attended() const override { return false; }

  std::size_t remaining() const { return answers_.size() - next_; }

 private:
  std::optional<Answer> NextAnswer();

  std::vector<Answer> answers_;
  std::size_t next_ = 0;
  AnswerSource source_;
  Notifier notify_;
};

}  // namespace vt::ui
