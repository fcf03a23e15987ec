#include "platform/automation/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/automation/error.h"
#include "platform/automation/text.h"
#include "platform/base/ascii.h"

namespace vt::automation {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Plain decimal notation: sign, digits, optional fraction, optional exponent.
// Returns the value, or nothing when the text does not read as a number.
// A number too large for a double reads as infinity, which conversions then
// reject as an overflow.
std::optional<double> ParseNumber(std::string_view text) {
  std::string_view t = text::Trim(text);
  if (t.empty()) return std::nullopt;
  std::size_t i = 0;
  bool negative = false;
  if (t[i] == '+' || t[i] == '-') {
    negative = t[i] == '-';
    ++i;
  }
  const std::size_t body = i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  bool negative_exponent = false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
      negative_exponent = t[i] == '-';
      ++i;
    }
    std::size_t exp_digits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;

  std::string_view number = t.substr(body);
  double value = 0;
  auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small underflows to zero; too large is out of any range.
    value = negative_exponent ? 0.0 : std::numeric_limits<double>::infinity();
  } else if (ec != std::errc() || end != number.data() + number.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

// Round to the nearest whole number, a half going to the even neighbour.
double RoundHalfEven(double v) {
  const double floor = std::floor(v);
  const double diff = v - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

template <typename Int>
Int ToWhole(double v) {
  if (!std::isfinite(v)) throw errors::Overflow();
  const double r = RoundHalfEven(v);
  if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
      r > static_cast<double>(std::numeric_limits<Int>::max())) {
    throw errors::Overflow();
  }
  return static_cast<Int>(r);
}

std::string FormatDouble(double v) {
  if (v == 0.0) return "0";  // also for negative zero
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", v);
  return buf;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return base::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

Variant Variant::Null() {
  Variant v;
  v.value_ = NullTag{};
  return v;
}

VarType Variant::type() const {
  switch (value_.index()) {
    case 0:
      return VarType::Empty;
    case 1:
      return VarType::Null;
    case 2:
      return VarType::Boolean;
    case 3:
      return VarType::Integer;
    case 4:
      return VarType::Long;
    case 5:
      return VarType::Double;
    case 6:
      return VarType::String;
    default:
      return VarType::Object;
  }
}

bool Variant::IsNumeric() const {
  switch (type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
      return true;
    case VarType::String:
      return ParseNumber(std::get<std::string>(value_)).has_value();
    case VarType::Null:
    case VarType::Object:
      return false;
  }
  return false;
}

double Variant::ToDouble() const {
  switch (type()) {
    case VarType::Empty:
      return 0.0;
    case VarType::Null:
      throw errors::InvalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(value_) ? -1.0 : 0.0;
    case VarType::Integer:
      return std::get<std::int16_t>(value_);
    case VarType::Long:
      return std::get<std::int32_t>(value_);
    case VarType::Double:
      return std::get<double>(value_);
    case VarType::String: {
      auto n = ParseNumber(std::get<std::string>(value_));
      if (!n) throw errors::TypeMismatch();
      return *n;
    }
    case VarType::Object:
      break;
  }
  throw errors::TypeMismatch();
}

std::int16_t Variant::ToInteger() const {
  switch (type()) {
    case VarType::Integer:
      return std::get<std::int16_t>(value_);
    case VarType::Long: {
      const std::int32_t v = std::get<std::int32_t>(value_);
      if (v < std::numeric_limits<std::int16_t>::min() ||
          v > std::numeric_limits<std::int16_t>::max()) {
        throw errors::Overflow();
      }
      return static_cast<std::int16_t>(v);
    }
    default:
      return ToWhole<std::int16_t>(ToDouble());
  }
}

std::int32_t Variant::ToLong() const {
  switch (type()) {
    case VarType::Integer:
      return std::get<std::int16_t>(value_);
    case VarType::Long:
      return std::get<std::int32_t>(value_);
    default:
      return ToWhole<std::int32_t>(ToDouble());
  }
}

bool Variant::ToBoolean() const {
  switch (type()) {
    case VarType::Boolean:
      return std::get<bool>(value_);
    case VarType::String: {
      const std::string_view t = text::Trim(std::get<std::string>(value_));
      if (EqualsNoCase(t, "True")) return true;
      if (EqualsNoCase(t, "False")) return false;
      return ToDouble() != 0.0;
    }
    default:
      return ToDouble() != 0.0;
  }
}

std::string Variant::ToString() const& {
  switch (type()) {
    case VarType::Empty:
      return {};
    case VarType::Null:
      throw errors::InvalidUseOfNull();
    case VarType::Boolean:
      return std::get<bool>(value_) ? "True" : "False";
    case VarType::Integer:
      return std::to_string(std::get<std::int16_t>(value_));
    case VarType::Long:
      return std::to_string(std::get<std::int32_t>(value_));
    case VarType::Double:
      return FormatDouble(std::get<double>(value_));
    case VarType::String:
      return std::get<std::string>(value_);
    case VarType::Object:
      break;
  }
  throw errors::TypeMismatch();
}

std::string Variant::ToString() && {
  if (auto* text = std::get_if<std::string>(&value_)) return std::move(*text);
  return std::as_const(*this).ToString();
}

ObjectRef Variant::ToObject() const {
  switch (type()) {
    case VarType::Empty:
      return nullptr;
    case VarType::Object:
      return std::get<ObjectRef>(value_);
    default:
      throw errors::TypeMismatch();
  }
}

}  // namespace vt::automation
