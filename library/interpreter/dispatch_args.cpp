#include "library/interpreter/dispatch_args.h"

#include "platform/automation/error.h"
#include "platform/base/utf8.h"

namespace vt::interpreter {
namespace {

using automation::Variant;
using automation::VarType;

constexpr std::int32_t kArgumentNotOptional = 449;
constexpr std::int32_t kWrongArgumentCount = 450;

bool Omitted(std::span<Variant> args, std::size_t index) {
  return index >= args.size() || args[index].IsEmpty();
}

// The argument as the message names it: text quoted, a number as written.
std::string Shown(const Variant& v) {
  try {
    if (v.IsNull()) return "Null";
    if (v.type() == VarType::Object) return "an object";
    std::string text = v.ToString();
    if (text.size() > 60) text = std::string(base::Utf8Prefix(text, 60)) + "...";
    return v.type() == VarType::String ? "\"" + text + "\"" : text;
  } catch (...) {
    return "a value of another type";
  }
}

template <typename T>
T Convert(const Variant& v);
template <>
std::string Convert(const Variant& v) {
  return v.ToString();
}
template <>
std::int16_t Convert(const Variant& v) {
  return v.ToInteger();
}
template <>
bool Convert(const Variant& v) {
  return v.ToBoolean();
}

template <typename T>
constexpr VarType kTypeOf = VarType::String;
template <>
constexpr VarType kTypeOf<std::int16_t> = VarType::Integer;
template <>
constexpr VarType kTypeOf<bool> = VarType::Boolean;

}  // namespace

void CheckArgumentCount(std::span<Variant> args, std::size_t max, std::string_view member) {
  if (args.size() > max) {
    throw automation::Error(
        kWrongArgumentCount,
        "Wrong number of arguments or invalid property assignment: " + std::string(member));
  }
}

template <typename T>
ByRef<T>::ByRef(std::span<Variant> args, std::size_t index, bool required) {
  if (Omitted(args, index)) {
    if (required) throw automation::Error(kArgumentNotOptional, "Argument not optional");
    return;
  }
  argument_ = &args[index];
  try {
    value = Convert<T>(*argument_);
  } catch (const automation::Error& e) {
    if (e.number() != automation::errors::kTypeMismatch &&
        e.number() != automation::errors::kOverflow) {
      throw;
    }
    throw automation::Error(e.number(), e.description() + ": argument " +
                                            std::to_string(index + 1) + " is " + Shown(*argument_));
  }
  write_back_ = argument_->type() == kTypeOf<T>;
}

template <typename T>
ByRef<T>::~ByRef() {
  if (!write_back_) return;
  try {
    *argument_ = Variant(value);
  } catch (...) {
    // Only allocation can fail here; the caller keeps its old value.
  }
}

template class ByRef<std::string>;
template class ByRef<std::int16_t>;
template class ByRef<bool>;

automation::ObjectRef OptionalObject(std::span<Variant> args, std::size_t index) {
  if (Omitted(args, index) || args[index].IsNull()) return nullptr;
  return args[index].ToObject();
}

}  // namespace vt::interpreter
