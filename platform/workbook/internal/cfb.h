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

// What the FAT holds for a sector that no chain goes on from.
inline constexpr std::uint32_t kFreeSect = 0xFFFFFFFF;
inline constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
inline constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
// Streams below this size live in the mini stream, in 64-byte sectors.
inline constexpr std::size_t kMiniCutoff = 4096;
inline constexpr std::size_t kMiniSector = 64;
// FAT sector numbers the header holds; the DIFAT sectors hold the rest.
inline constexpr std::size_t kHeaderDifat = 109;
inline constexpr std::size_t kEntrySize = 128;  // of a directory entry

// Directory entry types.
inline constexpr std::uint8_t kUnusedEntry = 0;
inline constexpr std::uint8_t kStorageEntry = 1;
inline constexpr std::uint8_t kStreamEntry = 2;
inline constexpr std::uint8_t kRootEntry = 5;

// Fields of the header, by offset.
namespace cfb_header {
inline constexpr std::size_t kMinorVersion = 24;
inline constexpr std::size_t kMajorVersion = 26;
inline constexpr std::size_t kByteOrder = 28;
inline constexpr std::size_t kSectorShift = 30;
inline constexpr std::size_t kMiniSectorShift = 32;
inline constexpr std::size_t kFatCount = 44;
inline constexpr std::size_t kDirectoryStart = 48;
inline constexpr std::size_t kMiniStreamCutoff = 56;
inline constexpr std::size_t kMiniFatStart = 60;
inline constexpr std::size_t kMiniFatCount = 64;
inline constexpr std::size_t kDifatStart = 68;
inline constexpr std::size_t kDifatCount = 72;
inline constexpr std::size_t kDifat = 76;  // the first kHeaderDifat FAT sector numbers
}  // namespace cfb_header

// Fields of a directory entry, by offset.
namespace cfb_entry {
inline constexpr std::size_t kNameBytes = 64;
inline constexpr std::size_t kType = 66;
inline constexpr std::size_t kLeft = 68;
inline constexpr std::size_t kRight = 72;
inline constexpr std::size_t kChild = 76;
inline constexpr std::size_t kStart = 116;
inline constexpr std::size_t kSize = 120;  // 64 bits; version 3 files use the low half only
}  // namespace cfb_entry

// Whole pieces of `d` that hold `n`.
inline std::size_t CeilDiv(std::size_t n, std::size_t d) { return (n + d - 1) / d; }

struct CfbEntry {
  std::array<std::uint8_t, kEntrySize> raw{};
  std::uint8_t type = kUnusedEntry;
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
