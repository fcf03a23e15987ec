#pragma once

// The shared string table (SST) that LABELSST cells point into, and its
// bucket index (EXTSST).

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/workbook/internal/bytes.h"
#include "platform/workbook/internal/continued.h"
#include "platform/workbook/internal/string_pool.h"

namespace vt::workbook::detail {

// Formatting runs and phonetic data of a string, kept byte for byte.
struct SstExtra {
  std::uint32_t index = 0;
  std::uint16_t runs = 0;
  Bytes run_bytes;
  bool has_ext = false;
  Bytes ext_bytes;
};

struct SharedStrings {
  std::vector<std::string_view> texts;
  std::vector<SstExtra> extras;  // sorted by index
  std::uint32_t total_refs = 0;
};

// `segments`: the SST record's data and then each CONTINUE's.
SharedStrings ReadSst(const std::vector<Segment>& segments, StringPool& pool);

// Appends SST (split into CONTINUE records as needed) and EXTSST to `stream`,
// whose current size is the stream position they start at.
void WriteSst(const SharedStrings& sst, Bytes& stream);

}  // namespace vt::workbook::detail
