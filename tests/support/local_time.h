#pragma once

#include <chrono>

namespace vt::testing {

// A date and time on the local clock (daylight saving as the zone has it).
std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int hour, int minute,
                                                int second);

}  // namespace vt::testing
