#pragma once

#include <string>
#include <string_view>

namespace vt::data {

// `text` in apostrophes with every apostrophe inside doubled, as criteria
// texts quote their literals.
std::string QuoteLiteral(std::string_view text);

}  // namespace vt::data
