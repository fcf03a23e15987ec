#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vt::system {

// The longest prefix of `text` of at most `max_bytes` bytes that does not end
// inside a UTF-8 sequence.
std::string_view Utf8Prefix(std::string_view text, std::size_t max_bytes);

// Byte offset of the first byte that does not begin a well-formed UTF-8
// sequence (overlong forms, surrogates and values beyond U+10FFFF included),
// or nullopt when the whole text is well formed.
std::optional<std::size_t> FindInvalidUtf8(std::string_view text);

// Number of characters (code points) of well-formed UTF-8 text; a stray byte
// counts as one.
std::size_t Utf8Length(std::string_view text);

// Byte length of the sequence that starts with `lead` (1 for a stray byte).
std::size_t Utf8SequenceLength(unsigned char lead);

}  // namespace vt::system
