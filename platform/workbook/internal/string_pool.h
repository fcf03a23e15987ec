#pragma once

#include "platform/workbook/internal/private.h"

// Storage for cell texts: large chunks that never move, so the string_views
// handed out stay valid for the pool's life.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace vt::workbook::detail {

class StringPool {
 public:
  // Room for at most `max_bytes`; Commit then keeps what was written.
  char* Reserve(std::size_t max_bytes);
  std::string_view Commit(std::size_t bytes);
  std::string_view Add(std::string_view text);

 private:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  std::vector<std::unique_ptr<char[]>> chunks_;
  char* cursor_ = nullptr;
  std::size_t room_ = 0;
};

}  // namespace vt::workbook::detail
