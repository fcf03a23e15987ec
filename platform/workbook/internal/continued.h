#pragma once

#include "platform/workbook/internal/private.h"

// Data of one record and the CONTINUE records after it, read as one run of
// bytes. Characters split across records restart with a flag byte that says
// whether the rest is Latin-1 or UTF-16.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/internal/bytes.h"
#include "platform/workbook/internal/string_pool.h"

namespace vt::workbook::detail {

// The option byte of a string (and the flag byte a CONTINUE restarts its
// characters with: kHighByte alone).
namespace string_flag {
inline constexpr std::uint8_t kHighByte = 0x01;  // characters are UTF-16LE, not Latin-1
inline constexpr std::uint8_t kPhonetic = 0x04;  // a size and phonetic data follow
inline constexpr std::uint8_t kRich = 0x08;      // a count and formatting runs follow
}  // namespace string_flag

// The option byte for characters in UTF-16 (`high_byte`) or Latin-1.
inline std::uint8_t CharsFlag(bool high_byte) { return high_byte ? string_flag::kHighByte : 0; }
inline bool HighByte(std::uint8_t flags) { return (flags & string_flag::kHighByte) != 0; }

struct Segment {
  const std::uint8_t* data;
  std::size_t size;
};

// `count` characters lying whole at `data`, Latin-1 or UTF-16LE, into `pool`.
std::string_view PoolChars(const std::uint8_t* data, std::size_t count, bool high_byte,
                           StringPool& pool);

class ContinuedReader {
 public:
  ContinuedReader(const Segment* segments, std::size_t count, std::string what);

  std::size_t Remaining() const { return remaining_; }
  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  void Skip(std::size_t n);
  void Read(std::size_t n, Bytes& out);
  // `count` characters starting in the encoding `high_byte` says.
  std::string_view Chars(std::size_t count, bool high_byte, StringPool& pool);

 private:
  [[noreturn]] void Short() const;
  void NextSegment();
  // The next `n` bytes, handed to `use(data, size)` a segment's part at a time.
  template <typename Use>
  void Take(std::size_t n, Use use);

  const Segment* segments_;
  std::size_t count_;
  std::size_t index_ = 0;
  std::size_t pos_ = 0;
  std::size_t remaining_ = 0;  // bytes left in all segments
  std::string what_;
  std::u16string scratch_;
};

}  // namespace vt::workbook::detail
