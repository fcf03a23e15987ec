#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The host language's string functions on UTF-8 text. Counts are in
// characters (code points); a UTF-8 sequence is never split. A damaged
// sequence counts as one character and is kept as it is.
namespace vt::automation::text {

// Without leading and trailing blanks (the space character only).
std::string_view Trim(std::string_view s);
std::string_view LTrim(std::string_view s);
std::string_view RTrim(std::string_view s);

std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

// The first `n` characters (all of them when there are fewer).
std::string_view Left(std::string_view s, std::size_t n);
// The last `n` characters (all of them when there are fewer).
std::string_view Right(std::string_view s, std::size_t n);

std::size_t Len(std::string_view s);

// True when the text is well-formed UTF-8.
bool IsValidUtf8(std::string_view s);

}  // namespace vt::automation::text
