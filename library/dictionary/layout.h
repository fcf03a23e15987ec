#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_DICTIONARY
#error "library/dictionary/layout.h is above the component that includes it"
#endif

// How a dictionary workbook is laid out: the sheet the library reads and
// the name of a language's column in its header row. Header only, so that
// the host checks a command line's language against a dictionary the way
// the library reads it, without linking the library.

#include <cstdint>
#include <string>
#include <string_view>

namespace vt::dictionary {

inline constexpr std::string_view kSheetName = "Dictionary";

// "Language_" followed by the number in plain decimal.
inline std::string LanguageColumn(std::int16_t language) {
  return "Language_" + std::to_string(language);
}

}  // namespace vt::dictionary
