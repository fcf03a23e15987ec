#pragma once

#include <string_view>

namespace vt::system {

// File-name wildcard match as the Windows file search does it: `*` stands for
// any run of characters (none included), `?` for exactly one character, and
// letters compare without regard to case (ASCII letters; other characters must
// be equal). The pattern "*.*" matches every name, with or without a dot.
// Short-name (8.3) aliases do not exist here, so "*.grf" never matches "a.grfx".
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace vt::system
