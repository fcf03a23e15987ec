#include "platform/automation/text.h"

#include <cstdint>

#include "platform/base/trim.h"
#include "platform/base/utf8.h"
#include "platform/unicode/case_map.h"

namespace vt::automation::text {
namespace {

// Byte offset just after the character that starts at `i`.
std::size_t NextOffset(std::string_view s, std::size_t i) { return base::Utf8Next(s, i).next; }

}  // namespace

std::string_view LTrim(std::string_view s) { return base::TrimLeft(s); }
std::string_view RTrim(std::string_view s) { return base::TrimRight(s); }
std::string_view Trim(std::string_view s) { return base::Trim(s); }

// Simple (one to one) case mapping, as the host language's UCase and LCase.
std::string UCase(std::string_view s) { return unicode::SimpleUpper(s); }
std::string LCase(std::string_view s) { return unicode::SimpleLower(s); }

std::string_view Left(std::string_view s, std::size_t n) {
  std::size_t pos = 0;
  for (std::size_t count = 0; count < n && pos < s.size(); ++count) pos = NextOffset(s, pos);
  return s.substr(0, pos);
}

std::string_view Right(std::string_view s, std::size_t n) {
  const std::size_t len = Len(s);
  if (n >= len) return s;
  std::size_t pos = 0;
  for (std::size_t count = 0; count < len - n; ++count) pos = NextOffset(s, pos);
  return s.substr(pos);
}

std::size_t Len(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < s.size(); pos = NextOffset(s, pos)) ++count;
  return count;
}

bool IsValidUtf8(std::string_view s) { return base::IsValidUtf8(s); }

}  // namespace vt::automation::text
