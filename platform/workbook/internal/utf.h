#pragma once

#include "platform/workbook/internal/private.h"

// Text inside the program is UTF-8; the format stores Latin-1 ("compressed")
// or UTF-16LE. An unpaired surrogate in a file is kept as its own three-byte
// sequence, so that it is written back as it was read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/workbook/internal/bytes.h"

namespace vt::workbook::detail {

// Worst-case UTF-8 bytes for `units` characters of either encoding.
inline constexpr std::size_t MaxUtf8Bytes(std::size_t units) { return units * 3; }

// Both return the number of bytes written to `out`.
std::size_t Latin1ToUtf8(const std::uint8_t* in, std::size_t count, char* out);
std::size_t Utf16ToUtf8(const char16_t* in, std::size_t count, char* out);
std::size_t Utf16LeToUtf8(const std::uint8_t* in, std::size_t count, char* out);

// False when `text` is not UTF-8.
bool Utf8ToUtf16(std::string_view text, std::u16string& out);
// What Utf8ToUtf16 would make, without making it; nullopt when it would fail.
struct Utf16Count {
  std::size_t units = 0;
  bool beyond_latin1 = false;  // a unit above 0xFF: the text cannot be stored as Latin-1
};
std::optional<Utf16Count> CountUtf16(std::string_view text);

// Whether a unit is above 0xFF: then the format stores the text as UTF-16,
// else one byte a character.
bool BeyondLatin1(std::u16string_view units);
// The characters of a format string as its flag says: one byte each, or
// UTF-16LE when `high`.
void AppendChars(Bytes& out, std::u16string_view units, bool high);

}  // namespace vt::workbook::detail
