#pragma once

#include "platform/workbook/internal/private.h"

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

// `segments`: the SST record's data and then each CONTINUE's. `left`, when
// given, receives the number of bytes after the last declared string.
SharedStrings ReadSst(const std::vector<Segment>& segments, StringPool& pool,
                      std::size_t* left = nullptr);

// Appends SST (split into CONTINUE records as needed) and EXTSST to `stream`,
// whose current size is the stream position they start at.
void WriteSst(const SharedStrings& sst, Bytes& stream);

// Strings per EXTSST bucket for a table of `strings` strings.
std::size_t SstBucketSize(std::size_t strings);

// New strings after a table as read, `texts[0]` being string number `first`:
// CONTINUE records appended to `out`, whose first byte stands at stream
// position `base`; the EXTSST entries of buckets of `per_bucket` strings that
// begin among them are appended to `extsst`.
void AppendSstStrings(const std::vector<std::string_view>& texts, std::size_t first,
                      std::size_t per_bucket, std::size_t base, Bytes& out, Bytes& extsst);

}  // namespace vt::workbook::detail
