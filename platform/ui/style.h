#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace vt::ui {

// The value MsgBox returns: the button pressed.
enum class Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// Low three bits of a style value.
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

// Bits 16 to 64 of a style value.
enum class Icon { None, Critical, Question, Exclamation, Information };

// What a style value asks for. default_button counts from 0 (first button).
struct Style {
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  int default_button = 0;
};

// Decodes any style value; bits we do not know are ignored, never an error.
Style DecodeStyle(int style);

// The answer a box falls back on when nobody can answer it: the one that
// changes nothing (OK on an OK box, No on Yes/No, Cancel where there is one,
// Abort on Abort/Retry/Ignore). It is also what Escape gives.
Answer SafeAnswer(Buttons buttons);

// The buttons of a box, in the order they are shown.
std::span<const Answer> ButtonsOf(Buttons buttons);

bool Fits(Answer answer, Buttons buttons);

// "ok", "cancel", "yes", "no", ... as in answer lists and transcripts.
std::string_view AnswerWord(Answer answer);

// "OK", "Cancel", "Yes", "No", ... as on the buttons.
std::string_view AnswerLabel(Answer answer);

// Inverse of AnswerWord, ignoring letter case; nothing when the word is unknown.
std::optional<Answer> AnswerFromWord(std::string_view word);

}  // namespace vt::ui
