#pragma once

#include <string>
#include <string_view>

namespace vt::ui {

// CR LF, and a lone CR or LF, as one line feed: how a box shows its text.
std::string WithLineFeeds(std::string_view text);

}  // namespace vt::ui
