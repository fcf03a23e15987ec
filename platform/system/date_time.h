#pragma once

#include <chrono>
#include <locale>
#include <string>

namespace vt::system {

// The platform's default text of a date and time: the short date, a blank and
// the long time of `locale` (the C library's "%x %X"), the time left out when
// it is exactly midnight. Local time zone.
std::string FormatDateTime(std::chrono::system_clock::time_point when, const std::locale& locale);

// The local date as yyyy-mm-dd (ISO 8601), whatever the locale.
std::string IsoDate(std::chrono::system_clock::time_point when);

// The same in the user's locale (from LANG / LC_ALL / LC_TIME); the C locale
// when that one is not installed.
std::string FormatDateTime(std::chrono::system_clock::time_point when);

}  // namespace vt::system
