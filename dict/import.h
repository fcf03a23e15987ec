#pragma once

// Translations from XLIFF into a dictionary's target column: a unit's target
// goes into the row its id names when the row still holds the unit's source;
// an empty cell only, unless overwriting. Every change is saved at once.

#include <cstddef>
#include <string>
#include <vector>

#include "dict/xliff_reader.h"
#include "platform/workbook/workbook.h"

namespace vt::dict {

// The states with which a tool marks a target as not translated yet; a filled
// target in one of them is left out unless its state is accepted.
inline constexpr const char* kUnreviewedStates[] = {"new", "needs-translation"};

struct ImportOptions {
  bool overwrite = false;
  std::vector<std::string> accepted_states;  // of kUnreviewedStates
};

struct ImportCounts {
  std::size_t written = 0;
  std::size_t kept = 0;                 // a translation there already, not overwritten
  std::size_t unchanged = 0;            // the cell holds the target already
  std::size_t untranslated = 0;         // no target, or an empty one
  std::vector<std::string> unreviewed;  // a filled target left out for its state, as a note
  std::vector<std::string> refused;     // "FILE:LINE: unit "ID": why"
};

// Plans and applies the changes in `book` and saves it once (when anything
// changed). Throws Failure for a file element whose languages the sheet has
// no column for; workbook::Error when the save fails (nothing is written).
ImportCounts ImportUnits(workbook::Workbook& book, const std::vector<XliffFile>& files,
                         const std::string& name, const ImportOptions& options);

}  // namespace vt::dict
