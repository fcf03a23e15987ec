#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/coverage_report.h is private to its component"
#endif

// The coverage report's two files, made from the model alone.

#include <string>
#include <string_view>

#include "library/maintenance/coverage.h"

namespace vt::maintenance {

// One self-contained page: its style inline, no script, font or picture from
// elsewhere; a summary of what it counts, the texts translation does not
// reach, then per language a table with a bar per picture, the missing texts
// and the translations too long, each with their places.
std::string CoverageHtml(const Coverage& coverage);

// One row per walked picture and distinct text it shows: Picture, Text (the
// development-language text), Places ("Object.Property" joined by "; "),
// then a column per reported language, named as in the dictionary, holding
// "translated", "missing" or "too long"; then a row per picture and text it
// holds out of translation's reach (the text as drawn), "not reached" in
// every language. UTF-8 with a byte-order mark, so that spreadsheets take it
// as UTF-8; RFC 4180 quoting, CR LF line ends.
std::string CoverageCsv(const Coverage& coverage);

// `text` as HTML shows it literally: markup characters as entities, control
// characters and bytes that are not UTF-8 as U+FFFD.
std::string EscapeHtml(std::string_view text);

}  // namespace vt::maintenance
