#pragma once

#include "platform/workbook/internal/private.h"

// Sheet substreams placed in the new Workbook stream: copied as they were, or
// with the cell table rewritten around the edited cells, from the first block
// that holds an edit on when the table allows it.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/stream_plan.h"

namespace vt::workbook::detail {

// Texts that go to the shared string table (too long for a LABEL record),
// with their index there.
using NewStrings = std::unordered_map<std::string_view, std::uint32_t>;

// True when `text` fits a LABEL record, which carries its text in the cell.
bool FitsLabel(std::string_view text);

struct SheetEmit {
  std::size_t begin = 0, end = 0;  // in the new stream
  std::uint32_t sst_refs = 0;      // LABELSST cells now (edited sheets)
  SheetLayout layout;              // at the new positions (worksheets)
};

// The substream as it was, at the plan's end; INDEX follows it when it moves.
SheetEmit CopySheet(const BookData& book, const BoundSheet& sheet, const SheetLayout* layout,
                    StreamPlan& plan);

// The edited worksheet at the plan's end; every record and untouched cell
// record before and around the edits byte for byte.
SheetEmit WriteEditedSheet(const BookData& book, const SheetData& sheet,
                           const NewStrings& new_strings, StreamPlan& plan);

}  // namespace vt::workbook::detail
