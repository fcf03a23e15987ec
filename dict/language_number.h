#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vt::dict {

// A language number in plain decimal, as the library writes it: no sign but
// a minus, no leading zero, within 16 bits.
constexpr std::optional<std::int16_t> ParseLanguageNumber(std::string_view digits) {
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 5 || (digits.front() == '0' && digits.size() > 1) ||
      (negative && digits == "0")) {
    return std::nullopt;
  }
  long value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

}  // namespace vt::dict
