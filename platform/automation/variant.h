#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vt::automation {

class Dispatch;
using ObjectRef = std::shared_ptr<Dispatch>;

enum class VarType { Empty, Null, Boolean, Integer, Long, Double, String, Object };

// The automation VARIANT: what crosses every late-bound call. Integer is 16-bit,
// Long 32-bit. Text is UTF-8. Conversions follow the host's scripting language
// (CInt, CStr, IsNumeric, ...) and raise vt::automation::Error on failure.
class Variant {
 public:
  Variant() = default;  // Empty
  Variant(bool v) : value_(v) {}
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(std::string_view v) : value_(std::string(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(ObjectRef v) : value_(std::move(v)) {}
  template <typename T>
  requires(std::is_base_of_v<Dispatch, T> && !std::is_same_v<T, Dispatch>)
      Variant(std::shared_ptr<T> v)
      : value_(ObjectRef(std::move(v))) {}
  // A plain int makes a Long (int is 32-bit here); long and unsigned values
  // must say which width they mean.
  template <typename T>
  requires(std::is_same_v<T, int> || std::is_same_v<T, long> || std::is_same_v<T, unsigned>)
      Variant(T)
  = delete;

  static Variant Null();

  VarType type() const;
  bool IsEmpty() const { return type() == VarType::Empty; }
  bool IsNull() const { return type() == VarType::Null; }
  bool IsObject() const { return type() == VarType::Object; }

  // True when the value is a number, or text that reads as one (blanks around
  // it allowed; plain decimal notation with optional sign, fraction and
  // exponent); Empty and Booleans count as numeric, Null, "" and objects do not.
  bool IsNumeric() const;

  std::int16_t ToInteger() const;  // rounds half to even; "Overflow" out of range
  std::int32_t ToLong() const;
  double ToDouble() const;
  bool ToBoolean() const;
  std::string ToString() const&;  // Empty gives ""; Null is "Invalid use of Null"
  std::string ToString() &&;      // the same, a text moved out rather than copied
  ObjectRef ToObject() const;     // Empty gives no object; other non-objects mismatch

  bool operator==(const Variant&) const = default;

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  std::variant<std::monostate, NullTag, bool, std::int16_t, std::int32_t, double, std::string,
               ObjectRef>
      value_;
};

}  // namespace vt::automation
