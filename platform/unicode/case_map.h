#pragma once

// Letter case of Unicode text (UTF-8 in, UTF-8 out). A damaged sequence is
// kept as it is by the simple mappings and becomes U+FFFD in the folding.
// Linux maps through ICU; Windows through tables made from ICU's data
// (case_tables.inc), so that both builds give the same texts.

#include <string>
#include <string_view>

namespace vt::unicode {

// One to one, as the host language's UCase and LCase: "ß" stays.
std::string SimpleUpper(std::string_view text);
std::string SimpleLower(std::string_view text);
// Full case folding, for comparisons that ignore case: "Straße" folds like
// "STRASSE".
std::string FullFold(std::string_view text);

// The table-driven implementation, built on every platform so that a test
// compares it with ICU code point by code point.
namespace table {
char32_t Upper(char32_t c);
char32_t Lower(char32_t c);
// Appends the folding of `c` (one to three code points) to `out`.
void AppendFold(char32_t c, std::u32string& out);
std::string SimpleUpper(std::string_view text);
std::string SimpleLower(std::string_view text);
std::string FullFold(std::string_view text);
}  // namespace table

}  // namespace vt::unicode
