#pragma once

// The compound file (OLE2 structured storage) that holds the Workbook stream
// next to others (summary information, macros, ...). Directory entries are
// kept as read, so that names, class ids, times and the tree come back
// unchanged; only stream positions and sizes are rewritten.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/internal/bytes.h"

namespace vt::workbook::detail {

struct CfbEntry {
  std::array<std::uint8_t, 128> raw{};
  std::uint8_t type = 0;  // 0 unused, 1 storage, 2 stream, 5 root
  std::u16string name;
  bool in_tree = false;  // reachable from the root; others are dropped on save
  std::size_t parent = 0;
  Bytes data;  // streams only
};

struct CompoundFile {
  std::vector<CfbEntry> entries;

  // Index of the stream `name` directly under the root (letter case ignored),
  // or entries.size().
  std::size_t FindRootStream(std::u16string_view name) const;
};

// Throws FormatError on anything that is not a sound compound file.
CompoundFile ReadCompoundFile(const std::uint8_t* data, std::size_t size);
Bytes WriteCompoundFile(const CompoundFile& file);
// A compound file with one stream under the root.
CompoundFile NewCompoundFile(std::u16string_view stream_name, Bytes stream);

}  // namespace vt::workbook::detail
