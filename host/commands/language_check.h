#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace vt::host::commands {

// The dictionaries Veltrano opens from the pictures folder.
inline constexpr std::string_view kDictionaryFile = "Veltrano.xls";
inline constexpr std::string_view kAlarmDictionaryFile = "Veltrano_Alm.xls";

// A language number given on the command line must have its column in the
// dictionary `file` of the pictures folder: Veltrano would report the missing
// column for every text and show them blank. Throws CommandLineError naming
// `option`, the number and the columns there are. 0 (none given) passes, and
// so does a dictionary that cannot be read: Veltrano reports that itself.
void CheckLanguageColumn(const std::filesystem::path& pictures, std::string_view file,
                         std::string_view option, std::int16_t language);

}  // namespace vt::host::commands
