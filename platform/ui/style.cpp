#include "platform/ui/style.h"

#include <array>
#include <cctype>
#include <string>

namespace vt::ui {
namespace {

constexpr std::array kOk{Answer::Ok};
constexpr std::array kOkCancel{Answer::Ok, Answer::Cancel};
constexpr std::array kAbortRetryIgnore{Answer::Abort, Answer::Retry, Answer::Ignore};
constexpr std::array kYesNoCancel{Answer::Yes, Answer::No, Answer::Cancel};
constexpr std::array kYesNo{Answer::Yes, Answer::No};
constexpr std::array kRetryCancel{Answer::Retry, Answer::Cancel};

struct Names {
  Answer answer;
  std::string_view word;
  std::string_view label;
};

constexpr std::array kNames{
    Names{Answer::Ok, "ok", "OK"},
    Names{Answer::Cancel, "cancel", "Cancel"},
    Names{Answer::Abort, "abort", "Abort"},
    Names{Answer::Retry, "retry", "Retry"},
    Names{Answer::Ignore, "ignore", "Ignore"},
    Names{Answer::Yes, "yes", "Yes"},
    Names{Answer::No, "no", "No"},
};

const Names& NamesOf(Answer answer) {
  for (const auto& n : kNames) {
    if (n.answer == answer) return n;
  }
  return kNames.front();
}

}  // namespace

Style DecodeStyle(int style) {
  Style s;
  switch (style & 7) {
    case 1:
      s.buttons = Buttons::OkCancel;
      break;
    case 2:
      s.buttons = Buttons::AbortRetryIgnore;
      break;
    case 3:
      s.buttons = Buttons::YesNoCancel;
      break;
    case 4:
      s.buttons = Buttons::YesNo;
      break;
    case 5:
      s.buttons = Buttons::RetryCancel;
      break;
    default:
      s.buttons = Buttons::Ok;
      break;  // 0, and 6/7 which have no meaning here
  }
  switch (style & 0x70) {
    case 16:
      s.icon = Icon::Critical;
      break;
    case 32:
      s.icon = Icon::Question;
      break;
    case 48:
      s.icon = Icon::Exclamation;
      break;
    case 64:
      s.icon = Icon::Information;
      break;
    default:
      s.icon = Icon::None;
      break;
  }
  const int wanted = (style >> 8) & 3;
  const auto count = static_cast<int>(ButtonsOf(s.buttons).size());
  s.default_button = wanted < count ? wanted : 0;
  return s;
}

std::span<const Answer> ButtonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return kOk;
    case Buttons::OkCancel:
      return kOkCancel;
    case Buttons::AbortRetryIgnore:
      return kAbortRetryIgnore;
    case Buttons::YesNoCancel:
      return kYesNoCancel;
    case Buttons::YesNo:
      return kYesNo;
    case Buttons::RetryCancel:
      return kRetryCancel;
  }
  return kOk;
}

Answer SafeAnswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    case Buttons::AbortRetryIgnore:
      return Answer::Abort;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel:
      return Answer::Cancel;
  }
  return Answer::Ok;
}

bool Fits(Answer answer, Buttons buttons) {
  for (Answer a : ButtonsOf(buttons)) {
    if (a == answer) return true;
  }
  return false;
}

std::string_view AnswerWord(Answer answer) { return NamesOf(answer).word; }

std::string_view AnswerLabel(Answer answer) { return NamesOf(answer).label; }

std::optional<Answer> AnswerFromWord(std::string_view word) {
  std::string lower;
  lower.reserve(word.size());
  for (char c : word) {
    lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  for (const auto& n : kNames) {
    if (n.word == lower) return n.answer;
  }
  return std::nullopt;
}

}  // namespace vt::ui
