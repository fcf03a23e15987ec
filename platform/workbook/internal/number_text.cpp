#include "platform/workbook/internal/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vt::workbook::detail {

std::string GeneralText(double value) {
  if (std::isnan(value)) return "#NUM!";
  if (std::isinf(value)) return value > 0 ? "#NUM!" : "-#NUM!";
  if (value == 0) return "0";
  char buffer[64];
  // Integers print in full up to the 15 digits the format keeps.
  if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
    char* end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value)).ptr;
    return std::string(buffer, end);
  }
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::size_t significant = 0;
  bool leading = true;
  for (char* p = buffer; p < end && *p != 'e'; ++p) {
    if (*p < '0' || *p > '9') continue;
    if (leading && *p == '0') continue;
    leading = false;
    ++significant;
  }
  // The shortest exact form, unless it needs more digits than the format keeps.
  if (significant > 15) {
    end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
  }
  std::string text(buffer, end);
  if (auto e = text.find('e'); e != std::string::npos) text[e] = 'E';
  return text;
}

// An RK number's two low bits: a hundredth of the value, an integer rather
// than the high 30 bits of a double.
constexpr std::uint32_t kRkHundredths = 0x1;
constexpr std::uint32_t kRkInteger = 0x2;
constexpr std::uint32_t kRkValue = ~std::uint32_t{0x3};

double RkValue(std::uint32_t rk) {
  double value;
  if (rk & kRkInteger) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    std::uint64_t bits = static_cast<std::uint64_t>(rk & kRkValue) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & kRkHundredths) ? value / 100 : value;
}

}  // namespace vt::workbook::detail
