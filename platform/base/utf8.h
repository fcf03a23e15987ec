#pragma once

// UTF-8, the program's text everywhere: well-formedness, stepping by
// character, and cuts that never split a sequence.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vt::base {

// Byte length of the sequence that starts with `lead` (1 for a stray byte).
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80U) return 1;
  if ((lead & 0xE0U) == 0xC0U) return 2;
  if ((lead & 0xF0U) == 0xE0U) return 3;
  if ((lead & 0xF8U) == 0xF0U) return 4;
  return 1;
}

// One step through the text: the character at `at` and where the next one
// begins. A damaged sequence gives `value` -1 and covers its maximal
// well-formed prefix (at least one byte), as Unicode recommends for
// substitution, so that it counts as one character and is kept as it is.
struct Utf8Step {
  char32_t value;
  std::size_t next;
  bool ok;
};

constexpr Utf8Step Utf8Next(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80U) return {lead, at + 1, true};
  std::size_t length = 0;
  char32_t value = 0;
  unsigned char low = 0x80U;  // bounds of the second byte (Unicode's table 3-7)
  unsigned char high = 0xBFU;
  if (lead >= 0xC2U && lead <= 0xDFU) {
    length = 2;
    value = lead & 0x1FU;
  } else if (lead >= 0xE0U && lead <= 0xEFU) {
    length = 3;
    value = lead & 0x0FU;
    if (lead == 0xE0U) low = 0xA0U;
    if (lead == 0xEDU) high = 0x9FU;
  } else if (lead >= 0xF0U && lead <= 0xF4U) {
    length = 4;
    value = lead & 0x07U;
    if (lead == 0xF0U) low = 0x90U;
    if (lead == 0xF4U) high = 0x8FU;
  } else {
    return {0, at + 1, false};
  }
  std::size_t i = at + 1;
  for (std::size_t k = 1; k < length; ++k, ++i) {
    const unsigned char lo = k == 1 ? low : 0x80U;
    const unsigned char hi = k == 1 ? high : 0xBFU;
    if (i >= text.size() || byte(i) < lo || byte(i) > hi) return {0, i, false};
    value = (value << 6U) | (byte(i) & 0x3FU);
  }
  return {value, i, true};
}

// Appends the UTF-8 form of `c` (a surrogate or a value beyond U+10FFFF
// becomes U+FFFD).
inline void AppendUtf8(char32_t c, std::string& out) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Byte offset of the first byte that does not begin a well-formed UTF-8
// sequence (overlong forms, surrogates and values beyond U+10FFFF included),
// or nullopt when the whole text is well formed.
constexpr std::optional<std::size_t> FindInvalidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Step step = Utf8Next(text, i);
    if (!step.ok) return i;
    i = step.next;
  }
  return std::nullopt;
}

constexpr bool IsValidUtf8(std::string_view text) { return !FindInvalidUtf8(text).has_value(); }

// The longest prefix of `text` of at most `max_bytes` bytes that does not end
// inside a UTF-8 sequence.
constexpr std::string_view Utf8Prefix(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t end = max_bytes;
  // Step back over continuation bytes to the sequence's lead byte, then keep
  // the sequence only if it fits whole.
  std::size_t lead = end;
  while (lead > 0 && (static_cast<unsigned char>(text[lead]) & 0xC0U) == 0x80U) --lead;
  if (lead < end) {
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[lead]));
    if (lead + length > end) end = lead;
  }
  return text.substr(0, end);
}

// Number of characters (code points) of well-formed UTF-8 text; a stray byte
// counts as one.
constexpr std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
    if (i + length > text.size()) length = 1;
    i += length;
    ++count;
  }
  return count;
}

// UTF-16 code units the text takes (what a cell's limit counts): two for a
// character beyond U+FFFF, one for any other and for each damaged byte.
constexpr std::size_t Utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Step step = Utf8Next(text, i);
    units += step.ok && step.value >= 0x10000 ? 2 : 1;
    i = step.next;
  }
  return units;
}

}  // namespace vt::base
