#include "platform/system/utf8.h"

namespace vt::system {

namespace {
bool IsContinuation(unsigned char byte) { return (byte & 0xC0U) == 0x80U; }
}  // namespace

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80U) return 1;
  if ((lead & 0xE0U) == 0xC0U) return 2;
  if ((lead & 0xF0U) == 0xE0U) return 3;
  if ((lead & 0xF8U) == 0xF0U) return 4;
  return 1;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  std::size_t end = max_bytes;
  // Step back over continuation bytes to the sequence's lead byte, then keep
  // the sequence only if it fits whole.
  std::size_t lead = end;
  while (lead > 0 && IsContinuation(static_cast<unsigned char>(text[lead]))) --lead;
  if (lead < end) {
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[lead]));
    if (lead + length > end) end = lead;
  }
  return text.substr(0, end);
}

std::optional<std::size_t> FindInvalidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80U) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0U) == 0xC0U) {
      length = 2;
      value = lead & 0x1FU;
      minimum = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
      length = 3;
      value = lead & 0x0FU;
      minimum = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
      length = 4;
      value = lead & 0x07U;
      minimum = 0x10000;
    } else {
      return i;
    }
    if (i + length > text.size()) return i;
    for (std::size_t k = 1; k < length; ++k) {
      const auto byte = static_cast<unsigned char>(text[i + k]);
      if (!IsContinuation(byte)) return i;
      value = (value << 6U) | (byte & 0x3FU);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return i;
    i += length;
  }
  return std::nullopt;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[i]));
    if (i + length > text.size()) length = 1;
    i += length;
    ++count;
  }
  return count;
}

}  // namespace vt::system
