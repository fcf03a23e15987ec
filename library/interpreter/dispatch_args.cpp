#include "library/interpreter/dispatch_args.h"

#include "platform/automation/error.h"

namespace vt::interpreter {
namespace {

using automation::Variant;
using automation::VarType;

constexpr std::int32_t kArgumentNotOptional = 449;
constexpr std::int32_t kWrongArgumentCount = 450;

bool Omitted(std::span<Variant> args, std::size_t index) {
  return index >= args.size() || args[index].IsEmpty();
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
  value = Convert<T>(*argument_);
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
