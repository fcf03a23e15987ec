#pragma once

// Trimming. "Blank" is the space character alone unless a caller names a
// wider set (the INI rules and command lines also drop tabs).

#include <string_view>

namespace vt::base {

inline constexpr std::string_view kBlank = " ";
inline constexpr std::string_view kBlankOrTab = " \t";
inline constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";  // isspace in the C locale

constexpr std::string_view TrimLeft(std::string_view text, std::string_view blanks = kBlank) {
  const auto first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

constexpr std::string_view TrimRight(std::string_view text, std::string_view blanks = kBlank) {
  const auto last = text.find_last_not_of(blanks);
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

constexpr std::string_view Trim(std::string_view text, std::string_view blanks = kBlank) {
  return TrimRight(TrimLeft(text, blanks), blanks);
}

}  // namespace vt::base
