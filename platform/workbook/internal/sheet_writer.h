#pragma once

// A sheet substream ready to be placed in the new Workbook stream. Positions
// that INDEX keeps are relative to `base` until the sheet is placed.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "platform/workbook/internal/book.h"

namespace vt::workbook::detail {

struct SheetOutput {
  Bytes bytes;
  std::size_t base = 0;               // position the INDEX entries count from
  std::size_t index_data = SIZE_MAX;  // INDEX record's data in `bytes`
  std::uint32_t sst_refs = 0;
};

// The substream as it was.
SheetOutput CopySheet(const Bytes& stream, const BoundSheet& sheet);

// The substream with its cell table rebuilt around the edited cells; every
// other record, and every untouched cell record, byte for byte.
SheetOutput WriteEditedSheet(
    const BookData& book, const SheetData& sheet,
    const std::unordered_map<std::string_view, std::uint32_t>& new_strings);

// Makes the INDEX positions count from `position`, where the sheet now starts.
void PlaceSheet(SheetOutput& sheet, std::size_t position);

}  // namespace vt::workbook::detail
