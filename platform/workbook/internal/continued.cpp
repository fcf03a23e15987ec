#include "platform/workbook/internal/continued.h"

#include <algorithm>
#include <cstring>

#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

std::string_view PoolChars(const std::uint8_t* data, std::size_t count, bool high_byte,
                           StringPool& pool) {
  if (count == 0) return {};
  char* out = pool.Reserve(MaxUtf8Bytes(count));
  if (!high_byte) {
    bool ascii = true;
    for (std::size_t i = 0; i < count; ++i) ascii &= data[i] < 0x80;
    if (ascii) {
      std::memcpy(out, data, count);
      return pool.Commit(count);
    }
    return pool.Commit(Latin1ToUtf8(data, count, out));
  }
  return pool.Commit(Utf16LeToUtf8(data, count, out));
}

ContinuedReader::ContinuedReader(const Segment* segments, std::size_t count, std::string what)
    : segments_(segments), count_(count), what_(std::move(what)) {
  for (std::size_t i = 0; i < count; ++i) remaining_ += segments[i].size;
}

void ContinuedReader::Short() const { throw FormatError(what_ + " is cut short"); }

void ContinuedReader::NextSegment() {
  if (index_ + 1 >= count_) Short();
  ++index_;
  pos_ = 0;
}

std::uint8_t ContinuedReader::U8() {
  if (remaining_ == 0) Short();
  while (pos_ >= segments_[index_].size) NextSegment();
  --remaining_;
  return segments_[index_].data[pos_++];
}

std::uint16_t ContinuedReader::U16() {
  if (count_ && segments_[index_].size - pos_ >= 2) {
    std::uint16_t v = Get16(segments_[index_].data + pos_);
    pos_ += 2;
    remaining_ -= 2;
    return v;
  }
  std::uint16_t lo = U8();
  return static_cast<std::uint16_t>(lo | (U8() << 8));
}

std::uint32_t ContinuedReader::U32() {
  std::uint32_t lo = U16();
  return lo | (static_cast<std::uint32_t>(U16()) << 16);
}

template <typename Use>
void ContinuedReader::Take(std::size_t n, Use use) {
  if (n > remaining_) Short();
  while (n) {
    std::size_t here = segments_[index_].size - pos_;
    if (here == 0) {
      NextSegment();
      continue;
    }
    std::size_t take = std::min(here, n);
    use(segments_[index_].data + pos_, take);
    pos_ += take;
    remaining_ -= take;
    n -= take;
  }
}

void ContinuedReader::Skip(std::size_t n) {
  Take(n, [](const std::uint8_t*, std::size_t) {});
}

void ContinuedReader::Read(std::size_t n, Bytes& out) {
  if (n > remaining_) Short();
  out.reserve(out.size() + n);
  Take(n, [&out](const std::uint8_t* data, std::size_t size) { AppendBytes(out, data, size); });
}

std::string_view ContinuedReader::Chars(std::size_t count, bool high_byte, StringPool& pool) {
  if (count == 0) return {};
  if (count_ == 0) Short();
  std::size_t width = high_byte ? 2 : 1;
  std::size_t here = segments_[index_].size - pos_;
  const std::uint8_t* p = segments_[index_].data + pos_;
  if (here >= count * width) {
    pos_ += count * width;
    remaining_ -= count * width;
    return PoolChars(p, count, high_byte, pool);
  }
  scratch_.clear();
  while (scratch_.size() < count) {
    here = segments_[index_].size - pos_;
    p = segments_[index_].data + pos_;
    std::size_t take = std::min(here / width, count - scratch_.size());
    for (std::size_t i = 0; i < take; ++i) {
      scratch_.push_back(high_byte ? static_cast<char16_t>(Get16(p + 2 * i)) : char16_t{p[i]});
    }
    pos_ += take * width;
    remaining_ -= take * width;
    if (scratch_.size() < count) {
      // What is left of this record cannot hold a whole character.
      remaining_ -= segments_[index_].size - pos_;
      NextSegment();
      if (segments_[index_].size == 0) Short();
      high_byte = HighByte(segments_[index_].data[0]);
      width = high_byte ? 2 : 1;
      pos_ = 1;
      --remaining_;
    }
  }
  char* out = pool.Reserve(MaxUtf8Bytes(count));
  return pool.Commit(Utf16ToUtf8(scratch_.data(), count, out));
}

}  // namespace vt::workbook::detail
