#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_DICTIONARY
#error "library/dictionary/exact_index.h is above the component that includes it"
#endif

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vt::dictionary {

// Text -> first row in sheet order, for the exact lookups of one column. An
// open-addressing table whose slots hold the text's hash and view, so that a
// lookup touches one slot and, on a hash match, the text itself. The views
// point into the sheet and live as long as its texts do.
class ExactIndex {
 public:
  // Keeps the earlier row when the text is already indexed.
  void Add(std::string_view text, std::size_t row);
  std::optional<std::size_t> Find(std::string_view text) const;
  // Room for `count` texts in all, so that adding them never rehashes.
  void Reserve(std::size_t count);

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::string_view text;
    std::size_t row = 0;  // 0: free (row 0 is the header, never indexed)
  };

  std::size_t Probe(std::uint64_t hash, std::string_view text) const;
  void Rehash(std::size_t size);

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace vt::dictionary
