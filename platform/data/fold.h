#pragma once

#include <string>
#include <string_view>

namespace vt::data {

// Full Unicode case folding of UTF-8 text, for comparisons that ignore letter
// case ("Straße" and "STRASSE" fold alike). Damaged UTF-8 is folded as far as
// it reads and compares as it is.
std::string FoldCase(std::string_view text);

// True when `a` and `b` differ at most in letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vt::data
