#pragma once

#include <string>
#include <string_view>

namespace vt::ui {

// The line that tells a critical box of a batch run on stderr (nobody sees
// the box itself): for an error report "error in MODULE.PROCEDURE:
// DESCRIPTION", else the text; line breaks become blanks.
std::string FailureNote(std::string_view text);

}  // namespace vt::ui
