#pragma once

// The message-box options that FIX.exe and Rostavel both take on their
// command lines, read one way. Header only: the programs parse with CLI11.

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "platform/ui/configure.h"

namespace vt::ui {

// --answers LIST: a comma list of the words ParseAnswers reads; a wrong word
// is a wrong command line, named as it was typed.
inline CLI::Option* AddAnswersOption(CLI::App& app, std::vector<std::string>& words,
                                     const std::string& help) {
  const CLI::Validator one_answer(
      [](std::string& word) -> std::string {
        try {
          if (ParseAnswers(word).size() == 1) return {};
        } catch (const ConfigError&) {
        }
        return "\"" + word + "\" is not an answer (ok, cancel, yes, no)";
      },
      "");
  return app.add_option("--answers", words, help)
      ->delimiter(',')
      ->check(one_answer)
      ->type_name("LIST");
}

// The answers of the words AddAnswersOption collected, in order.
inline std::vector<Answer> AnswersFromWords(const std::vector<std::string>& words) {
  std::vector<Answer> answers;
  for (const std::string& word : words) {
    for (const Answer answer : ParseAnswers(word)) answers.push_back(answer);
  }
  return answers;
}

}  // namespace vt::ui
