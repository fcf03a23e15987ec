#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/where_used.h is private to its component"
#endif

// The "Where used" sheet of the dictionary workbook: for each text and the
// language column it stands in, the places that show it. A translator's aid
// only: no translation ever reads it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/maintenance/coverage.h"

namespace vt::workbook {
class Sheet;
}

namespace vt::maintenance {

inline constexpr std::string_view kWhereUsedSheet = "Where used";
inline constexpr std::array<std::string_view, 6> kWhereUsedColumns = {
    "Text", "Language", "Places", "Pictures", "Was", "Seen"};

struct WhereUsedRow {
  std::string text;
  std::string language;  // "Language_<n>": the pictures showed `text` in this language
  std::string places;    // "Picture/Object.Property; ..."
  std::size_t pictures = 0;
  std::string was;   // what the same places showed at the last run, when it differs
  std::string seen;  // yyyy-mm-dd

  bool operator==(const WhereUsedRow&) const = default;
};

// The sheet after the run: the walked pictures' places as the run met them,
// under the language each picture was shown in, every place of a picture not
// walked kept as it was. `previous` holds a row per text and language at
// most. Rows sorted by text, then language.
std::vector<WhereUsedRow> MergeWhereUsed(const std::vector<WhereUsedRow>& previous,
                                         const Coverage& coverage);

// Places joined by "; " within a cell's 32,767 UTF-16 units; when they do not
// fit, as many as do, then "… and N more".
std::string JoinPlaces(const std::vector<std::string>& places);
// How many pictures the places ("Picture/...") lie in.
std::size_t CountPictures(const std::vector<std::string>& places);
// The places of a cell, without the "… and N more" of those left out.
std::vector<std::string> SplitPlaces(std::string_view cell);

// The sheet's rows below its header, one per text and language (the places
// of rows repeated joined); throws workbook::Error when the sheet is not one
// this program wrote (its header differs), so that it is left as it is.
// Sheets of before named the language verified beside the development-
// language text and held their counts as texts: such rows are read as rows
// of `development`.
std::vector<WhereUsedRow> ReadWhereUsed(const workbook::Sheet& sheet, std::int16_t development);
// Writes the header and `rows` (counts as numbers), changing only the cells
// that differ, and empties the rows below them.
void WriteWhereUsed(workbook::Sheet& sheet, const std::vector<WhereUsedRow>& rows);

}  // namespace vt::maintenance
