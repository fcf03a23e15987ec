#include "platform/automation/text.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

#include "platform/base/trim.h"
#include "platform/base/utf8.h"

namespace vt::automation::text {
namespace {

// Byte offset just after the character that starts at `i`.
std::size_t NextOffset(std::string_view s, std::size_t i) { return base::Utf8Next(s, i).next; }

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

std::string_view LTrim(std::string_view s) { return base::TrimLeft(s); }
std::string_view RTrim(std::string_view s) { return base::TrimRight(s); }
std::string_view Trim(std::string_view s) { return base::Trim(s); }

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

bool IsValidUtf8(std::string_view s) { return base::IsValidUtf8(s); }

}  // namespace vt::automation::text
