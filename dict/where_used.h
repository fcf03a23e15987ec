#pragma once

// The places of each text, from the sheet "Where used" that the dictionary
// update writes beside Dictionary: read for the translators' notes, never
// required (a workbook without it, or without one of its columns, gives no
// notes).

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/workbook/workbook.h"

namespace vt::dict {

struct Usage {
  std::string_view places;    // "Picture/Object.Property; ..."
  std::string_view pictures;  // how many, as the sheet shows it
  std::string_view was;       // the text a place showed at the run before, when it changed
};

// Texts of `language` (the column Language holds n or Language_n) and their
// usage; views into the workbook, valid while it is not saved.
std::unordered_map<std::string_view, Usage> ReadWhereUsed(workbook::Workbook& book,
                                                          std::int16_t language);

}  // namespace vt::dict
