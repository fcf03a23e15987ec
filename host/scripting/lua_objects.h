#pragma once

#include <exception>
#include <string>

#include "platform/automation/variant.h"

struct lua_State;

// Automation objects and Variants as a host script sees them.
//
//   Lua                          Variant
//   nil                      <-> Empty
//   true / false             <-> Boolean
//   integer                  <-> Integer when it fits 16 bits, else Long
//                                (beyond 32 bits: Double)
//   float                    <-> Double
//   string (UTF-8)           <-> String
//   Integer(n), Long(n)       -> Integer, Long (a width forced, as CInt/CLng)
//   Null                     <-> Null
//   object userdata, Nothing <-> object, no object
//
// Objects: `obj.Name` reads a property, `obj.Name = v` writes one,
// `obj:Name(a, b)` calls a method (the object says which of its members are
// methods; member names match without regard to case), `obj(i)` is
// obj:Item(i), `a == b` is true for the same object. Arguments are passed by
// value; `ByRef(obj, "Name", a, b)` returns the result followed by every
// argument as the callee left it. `for item in Each(collection) do` walks a
// collection; an Empty item ends the walk, as nil ends any Lua iteration.
// `TypeName(v)` is the host language's TypeName. A failed call raises a Lua
// error "SCRIPT:LINE: description", which pcall catches.
namespace vt::host::scripting {

// Sets up the metatables and the globals Nothing, Null, Integer, Long, ByRef,
// Each and TypeName.
void OpenObjects(lua_State* L);

// Pushes the Lua value of `value`.
void PushVariant(lua_State* L, const automation::Variant& value);

// The Variant of the Lua value at `index`. A value that has none (a table, a
// function, text that is not UTF-8) raises a type mismatch naming it.
automation::Variant ToVariant(lua_State* L, int index);

// Raises a Lua error "SCRIPT:LINE: message", the line being the script's
// line that called the running C function.
[[noreturn]] void RaiseError(lua_State* L, const std::string& message);

// Runs the body of a C function; an exception it throws (a failed automation
// call) becomes a Lua error. Lua's own errors pass through untouched.
template <typename Body>
int Protected(lua_State* L, Body&& body) {
  std::string message;
  try {
    return body();
  } catch (const std::exception& e) {
    message = e.what();
  }
  RaiseError(L, message);
}

}  // namespace vt::host::scripting
