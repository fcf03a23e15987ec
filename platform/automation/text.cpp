#include "platform/automation/text.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace vt::automation::text {
namespace {

// Byte offset just after the character that starts at `i`.
std::size_t NextOffset(std::string_view s, std::size_t i) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data());
  const auto length = static_cast<std::int32_t>(s.size());
  auto pos = static_cast<std::int32_t>(i);
  UChar32 c = 0;
  U8_NEXT(p, pos, length, c);
  return static_cast<std::size_t>(pos);
}

template <typename Map>
std::string MapCase(std::string_view s, Map map) {
  std::string out;
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data());
  const auto length = static_cast<std::int32_t>(s.size());
  std::int32_t pos = 0;
  while (pos < length) {
    const std::int32_t start = pos;
    UChar32 c = 0;
    U8_NEXT(p, pos, length, c);
    if (c < 0) {  // keep a damaged sequence as it was
      out.append(s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(pos - start)));
      continue;
    }
    const UChar32 mapped = map(c);
    std::uint8_t buf[U8_MAX_LENGTH];
    std::int32_t n = 0;
    U8_APPEND_UNSAFE(buf, n, static_cast<std::uint32_t>(mapped));
    out.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(n));
  }
  return out;
}

}  // namespace

std::string_view LTrim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : s.substr(first);
}

std::string_view RTrim(std::string_view s) {
  const std::size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

std::string_view Trim(std::string_view s) { return RTrim(LTrim(s)); }

// Simple (one to one) case mapping, as the host language's UCase and LCase.
std::string UCase(std::string_view s) {
  return MapCase(s, [](UChar32 c) { return u_toupper(c); });
}
std::string LCase(std::string_view s) {
  return MapCase(s, [](UChar32 c) { return u_tolower(c); });
}

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

bool IsValidUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(s.data());
  const auto length = static_cast<std::int32_t>(s.size());
  std::int32_t pos = 0;
  while (pos < length) {
    UChar32 c = 0;
    U8_NEXT(p, pos, length, c);
    if (c < 0) return false;
  }
  return true;
}

}  // namespace vt::automation::text
