#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace vt::interpreter {

// Raises the automation runtime's "Wrong number of arguments" when a
// late-bound call passes more than `max` arguments.
void CheckArgumentCount(std::span<automation::Variant> args, std::size_t max,
                        std::string_view member);

// A by-reference parameter of a late-bound call, as a typed local. An omitted
// optional argument takes the type's empty value; a required one is "Argument
// not optional". When the call ends the value goes back into the caller's
// argument if the caller passed that very type; a caller's argument of another
// type was converted into a copy, and the copy is what changes.
template <typename T>
class ByRef {
 public:
  ByRef(std::span<automation::Variant> args, std::size_t index, bool required = false);
  ~ByRef();
  ByRef(const ByRef&) = delete;
  ByRef& operator=(const ByRef&) = delete;

  T value{};

 private:
  automation::Variant* argument_ = nullptr;
  bool write_back_ = false;
};

using ByRefString = ByRef<std::string>;
using ByRefInteger = ByRef<std::int16_t>;
using ByRefBoolean = ByRef<bool>;

// An object parameter: no object when omitted, Empty or Nothing.
automation::ObjectRef OptionalObject(std::span<automation::Variant> args, std::size_t index);

}  // namespace vt::interpreter
