#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <cstdint>

#include "platform/unicode/case_map.h"

namespace vt::unicode {

namespace {

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

std::string SimpleUpper(std::string_view text) {
  return MapCase(text, [](UChar32 c) { return u_toupper(c); });
}

std::string SimpleLower(std::string_view text) {
  return MapCase(text, [](UChar32 c) { return u_tolower(c); });
}

std::string FullFold(std::string_view text) {
  std::string folded;
  icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
      .foldCase()
      .toUTF8String(folded);
  return folded;
}

}  // namespace vt::unicode
