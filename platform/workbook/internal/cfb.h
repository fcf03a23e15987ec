#pragma once

#include "platform/workbook/internal/private.h"

// The compound file (OLE2 structured storage) that holds the Workbook stream
// next to others (summary information, macros, ...). Directory entries are
// kept as read, so that names, class ids, times and the tree come back
// unchanged; only stream positions and sizes are rewritten.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
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

// Where everything lies in the file as read or written: what a change in
// place needs to leave every sector of this version untouched.
struct CfbLayout {
  bool known = false;
  std::size_t sector = 512;
  std::uint16_t major = 3;
  std::array<std::uint8_t, 512> header{};
  std::vector<std::uint32_t> fat;
  std::vector<std::uint32_t> fat_sectors;    // where each FAT sector is
  std::vector<std::uint32_t> difat_sectors;  // where the DIFAT sectors are, in chain order
  std::vector<std::uint32_t> dir_chain;
  std::size_t file_sectors = 0;  // sectors the file holds (a cut last one counted)
  // Of the first live_end sectors, how many the FAT counts as used (SIZE_MAX: not counted yet).
  std::size_t live = 0, live_end = SIZE_MAX;
  // Each stream's sectors (big streams only), by entry.
  std::vector<std::vector<std::uint32_t>> chains;
};

struct CompoundFile {
  std::vector<CfbEntry> entries;
  CfbLayout layout;

  // Index of the stream `name` directly under the root (letter case ignored),
  // or entries.size().
  std::size_t FindRootStream(std::u16string_view name) const;
};

// Throws FormatError on anything that is not a sound compound file.
CompoundFile ReadCompoundFile(const std::uint8_t* data, std::size_t size);
Bytes WriteCompoundFile(const CompoundFile& file);

// Writes the file in order through `sink`, the bytes of the entry `external`
// coming from `read(offset, size, out)` rather than from its `data`
// (`external_size` of them). Returns the layout of what was written and sets
// the entries' start and size fields in `entries_out`.
using ByteSink = std::function<void(const std::uint8_t* data, std::size_t size)>;
using StreamReader = std::function<void(std::size_t offset, std::size_t size, std::uint8_t* out)>;
CfbLayout WriteCompoundFile(const CompoundFile& file, std::size_t external,
                            std::size_t external_size, const StreamReader& read,
                            const ByteSink& sink, std::vector<CfbEntry>& entries_out);
// A compound file with one stream under the root.
CompoundFile NewCompoundFile(std::u16string_view stream_name, Bytes stream);

}  // namespace vt::workbook::detail
