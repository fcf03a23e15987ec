#include "platform/workbook/internal/string_pool.h"

#include <algorithm>
#include <cstring>

namespace vt::workbook::detail {

char* StringPool::Reserve(std::size_t max_bytes) {
  if (max_bytes > room_) {
    std::size_t size = std::max(kChunk, max_bytes);
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    cursor_ = chunks_.back().get();
    room_ = size;
  }
  return cursor_;
}

std::string_view StringPool::Commit(std::size_t bytes) {
  std::string_view text(cursor_, bytes);
  cursor_ += bytes;
  room_ -= bytes;
  return text;
}

std::string_view StringPool::Add(std::string_view text) {
  if (text.empty()) return {};
  char* out = Reserve(text.size());
  std::memcpy(out, text.data(), text.size());
  return Commit(text.size());
}

}  // namespace vt::workbook::detail
