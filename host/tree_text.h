#pragma once

#include <string>
#include <string_view>

// How the commands print host objects: one line per object, texts quoted so
// that outer blanks and empty texts show.
namespace vt::host {

// "text" with \" and \\ escaped and control characters written as \n, \r,
// \t or \xNN, so that every text stays on its line.
std::string TreeQuoted(std::string_view text);

// A name as it is, or quoted as TreeQuoted when it is empty or holds blanks,
// quotes or control characters.
std::string TreeName(std::string_view name);

}  // namespace vt::host
