#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vt::system {

// std::filesystem::path to and from the program's UTF-8. On Windows (MinGW)
// path(std::string) and path::string() convert through the ANSI code page,
// which turns "Übersicht" into "Ãbersicht" and cannot hold "工厂" at all;
// these go through UTF-16 instead. Every path built from our text, and every
// path turned back into text, goes through them.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace vt::system
