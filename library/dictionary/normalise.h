#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_DICTIONARY && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/dictionary/normalise.h is private to its component"
#endif

#include "platform/workbook/workbook.h"

namespace vt::dictionary {

// Removes leading and trailing spaces (spaces only: tabs and line breaks stay)
// from every text cell below the header; a cell of spaces only becomes empty.
// Number cells are left alone. Returns true when any cell changed.
bool NormaliseSheet(workbook::Sheet& sheet);

}  // namespace vt::dictionary
