#pragma once

#include <cstdint>
#include <string>

#include "platform/workbook/internal/private.h"

namespace vt::workbook::detail {

// A number as the General format shows it: at most 15 significant digits,
// no trailing zeros, an exponent as "1E+20".
std::string GeneralText(double value);

// The number an RK value (a compact number in cell records) stands for.
double RkValue(std::uint32_t rk);

}  // namespace vt::workbook::detail
