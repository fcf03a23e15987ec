#include "platform/system/wildcard.h"

#include <cstddef>

#include "platform/base/ascii.h"
#include "platform/base/utf8.h"

namespace vt::system {

namespace {

std::size_t CharLength(std::string_view text, std::size_t at) {
  const std::size_t length = base::Utf8SequenceLength(static_cast<unsigned char>(text[at]));
  return at + length <= text.size() ? length : 1;
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  // Greedy match with one backtrack point: the last star seen.
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star_p = std::string_view::npos;
  std::size_t star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star_p = p++;
      star_n = n;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      n += CharLength(name, n);
    } else if (p < pattern.size() && base::AsciiUpper(pattern[p]) == base::AsciiUpper(name[n])) {
      ++p;
      ++n;
    } else if (star_p != std::string_view::npos) {
      p = star_p + 1;
      star_n += CharLength(name, star_n);
      n = star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace vt::system
