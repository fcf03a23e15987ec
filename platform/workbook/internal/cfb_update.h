#pragma once

#include "platform/workbook/internal/private.h"

// A change of one stream written into the compound file in place, copy on
// write: the sectors that change are written anew past the end of the file,
// with new copies of the FAT, DIFAT and directory sectors that point to them;
// then one write of the header switches to the new version. Until that write
// the file is the old version, whole; after it, the new one. Nothing the old
// version uses is overwritten, so a reader that began before the switch reads
// the old version to its end.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/workbook/internal/cfb.h"

namespace vt::workbook::detail {

struct InPlaceUpdate {
  enum class Kind { kStream, kDirectory, kFat, kDifat };
  struct Made {
    Kind kind;
    std::size_t what;  // the stream's, directory's, FAT's or DIFAT's sector number
  };

  std::uint64_t offset = 0;                              // file position of the new sectors
  std::vector<Made> sectors;                             // written first, then flushed
  std::size_t stream_size = 0;                           // of the changed stream, once written
  std::array<std::uint8_t, 512> header{};                // written last, at position 0
  std::array<std::uint8_t, 512> old_header{};            // put back when that fails
  CfbLayout layout;                                      // of the file once written
  std::vector<std::array<std::uint8_t, 128>> directory;  // entries once written
};

// The new sectors [first, first + count) of `update`, the stream's taken
// from `read`: made a part at a time, so that a large change is never held
// whole beside the stream it comes from.
void RenderSectors(const InPlaceUpdate& update, std::size_t first, std::size_t count,
                   const StreamReader& read, std::uint8_t* out);

struct ByteRange {
  std::size_t from, to;
};

// The update that turns stream `entry` (of `old_size` bytes, as `file`
// describes it) into `new_size` bytes equal to the old ones except in
// `patches` and from `tail` on; RenderSectors makes its sectors. Nullopt
// when the change is better written as a new file: a stream too small for
// sectors of its own, or a file that would hold more than a quarter of dead
// sectors.
std::optional<InPlaceUpdate> PlanInPlace(const CompoundFile& file, std::size_t entry,
                                         std::size_t old_size, std::size_t new_size,
                                         std::size_t tail, const std::vector<ByteRange>& patches);

}  // namespace vt::workbook::detail
