#include "host/scripting/lua_objects.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <lua.hpp>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/automation/text.h"

namespace vt::host::scripting {
namespace {

using automation::ObjectRef;
using automation::Variant;
using automation::VarType;

// Metatable names; they are also what Lua's own messages call the values.
constexpr const char* kObjectType = "Object";
// Null, and the numbers of a forced width made by Integer() and Long().
constexpr const char* kValueType = "Value";
// The registry keeps the singletons, so a script that reassigns the global
// Nothing or Null still gets the real ones back from calls.
constexpr const char* kNothingKey = "vt.Nothing";
constexpr const char* kNullKey = "vt.Null";

ObjectRef* TestObject(lua_State* L, int index) {
  return static_cast<ObjectRef*>(luaL_testudata(L, index, kObjectType));
}

Variant* TestValue(lua_State* L, int index) {
  return static_cast<Variant*>(luaL_testudata(L, index, kValueType));
}

void NewObject(lua_State* L, ObjectRef object) {
  void* block = lua_newuserdatauv(L, sizeof(ObjectRef), 0);
  new (block) ObjectRef(std::move(object));
  luaL_setmetatable(L, kObjectType);
}

void NewValue(lua_State* L, Variant value) {
  void* block = lua_newuserdatauv(L, sizeof(Variant), 0);
  new (block) Variant(std::move(value));
  luaL_setmetatable(L, kValueType);
}

automation::Error Mismatch(std::string_view what) {
  return automation::Error(automation::errors::kTypeMismatch,
                           "Type mismatch: " + std::string(what));
}

// The object at `index`: an object userdata or Nothing; anything else is a
// type mismatch naming what `purpose` wanted.
ObjectRef CheckObject(lua_State* L, int index, std::string_view purpose) {
  if (ObjectRef* object = TestObject(L, index)) return *object;
  throw Mismatch(std::string(purpose) + " needs an object, not a " + luaL_typename(L, index));
}

// "Type mismatch" and "Overflow" arise in a conversion deep inside the
// member; the member is named, so that the script's author finds the value.
template <typename Body>
auto Naming(const ObjectRef& object, std::string_view member, Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const automation::Error& e) {
    if (e.number() != automation::errors::kTypeMismatch &&
        e.number() != automation::errors::kOverflow) {
      throw;
    }
    throw automation::Error(e.number(), e.description() + " (in " +
                                            (object ? object->TypeName() : "Nothing") + "." +
                                            std::string(member) + ")");
  }
}

std::string MemberName(lua_State* L, int index) {
  if (lua_type(L, index) != LUA_TSTRING) {
    throw automation::errors::InvalidCall(std::string("a member name is text, not a ") +
                                          luaL_typename(L, index));
  }
  std::size_t size = 0;
  const char* name = lua_tolstring(L, index, &size);
  return std::string(name, size);
}

// The Lua values from `first` to the top, as arguments of a call.
std::vector<Variant> Arguments(lua_State* L, int first) {
  std::vector<Variant> args;
  for (int i = first; i <= lua_gettop(L); ++i) args.push_back(ToVariant(L, i));
  return args;
}

// What obj.Name gives for a method: called as obj:Name(...), with the name
// as its upvalue.
int CallMember(lua_State* L) {
  return Protected(L, [L] {
    const std::string name = lua_tostring(L, lua_upvalueindex(1));
    if (TestObject(L, 1) == nullptr) {
      throw automation::errors::InvalidCall(name + " is a method: call it as object:" + name +
                                            "(...)");
    }
    const ObjectRef object = *TestObject(L, 1);
    std::vector<Variant> args = Arguments(L, 2);
    PushVariant(L, Naming(object, name, [&] { return automation::Call(object, name, args); }));
    return 1;
  });
}

int ObjectIndex(lua_State* L) {
  return Protected(L, [L] {
    const ObjectRef object = CheckObject(L, 1, "reading a member");
    const std::string member = MemberName(L, 2);
    if (object && object->IsMethod(member)) {
      // obj:Method(...) reads the member first: hand back what calls it.
      lua_pushlstring(L, member.data(), member.size());
      lua_pushcclosure(L, CallMember, 1);
      return 1;
    }
    PushVariant(L, Naming(object, member, [&] { return automation::Get(object, member); }));
    return 1;
  });
}

int ObjectNewIndex(lua_State* L) {
  return Protected(L, [L] {
    const ObjectRef object = CheckObject(L, 1, "writing a member");
    const std::string member = MemberName(L, 2);
    const Variant value = ToVariant(L, 3);
    Naming(object, member, [&] { automation::Put(object, member, value); });
    return 0;
  });
}

// obj(i): the default member of a collection.
int ObjectCall(lua_State* L) {
  return Protected(L, [L] {
    const ObjectRef object = CheckObject(L, 1, "calling");
    std::vector<Variant> args = Arguments(L, 2);
    PushVariant(L, Naming(object, "Item", [&] { return automation::Call(object, "Item", args); }));
    return 1;
  });
}

int ObjectEqual(lua_State* L) {
  const ObjectRef* a = TestObject(L, 1);
  const ObjectRef* b = TestObject(L, 2);
  lua_pushboolean(L, a != nullptr && b != nullptr && a->get() == b->get());
  return 1;
}

int ObjectToString(lua_State* L) {
  return Protected(L, [L] {
    const std::string name = automation::TypeNameOf(CheckObject(L, 1, "tostring"));
    lua_pushlstring(L, name.data(), name.size());
    return 1;
  });
}

int ObjectCollect(lua_State* L) {
  // Reset rather than destroy: a finalizer may run on a userdata again.
  if (ObjectRef* object = TestObject(L, 1)) object->reset();
  return 0;
}

int ValueEqual(lua_State* L) {
  const Variant* a = TestValue(L, 1);
  const Variant* b = TestValue(L, 2);
  lua_pushboolean(L, a != nullptr && b != nullptr && *a == *b);
  return 1;
}

int ValueToString(lua_State* L) {
  return Protected(L, [L] {
    const Variant* value = TestValue(L, 1);
    const std::string text = value == nullptr ? "" : value->IsNull() ? "Null" : value->ToString();
    lua_pushlstring(L, text.data(), text.size());
    return 1;
  });
}

int ValueCollect(lua_State* L) {
  if (Variant* value = TestValue(L, 1)) *value = Variant();
  return 0;
}

int IntegerOf(lua_State* L) {
  return Protected(L, [L] {
    luaL_checkany(L, 1);
    NewValue(L, Variant(ToVariant(L, 1).ToInteger()));
    return 1;
  });
}

int LongOf(lua_State* L) {
  return Protected(L, [L] {
    luaL_checkany(L, 1);
    NewValue(L, Variant(ToVariant(L, 1).ToLong()));
    return 1;
  });
}

int TypeNameOf(lua_State* L) {
  return Protected(L, [L] {
    const std::string name = automation::TypeNameOf(ToVariant(L, 1));
    lua_pushlstring(L, name.data(), name.size());
    return 1;
  });
}

// ByRef(obj, "Method", a, b, ...) -> result, a, b, ... as the call left them.
int ByRef(lua_State* L) {
  return Protected(L, [L] {
    const ObjectRef object = CheckObject(L, 1, "ByRef");
    const std::string method = MemberName(L, 2);
    std::vector<Variant> args = Arguments(L, 3);
    const Variant result =
        Naming(object, method, [&] { return automation::Call(object, method, args); });
    luaL_checkstack(L, static_cast<int>(args.size()) + 1, "too many arguments");
    PushVariant(L, result);
    for (const Variant& arg : args) PushVariant(L, arg);
    return static_cast<int>(args.size()) + 1;
  });
}

// The iterator of Each: upvalues are the items' table, their count and the
// position reached.
int NextItem(lua_State* L) {
  const lua_Integer count = lua_tointeger(L, lua_upvalueindex(2));
  const lua_Integer at = lua_tointeger(L, lua_upvalueindex(3)) + 1;
  if (at > count) return 0;
  lua_pushinteger(L, at);
  lua_replace(L, lua_upvalueindex(3));
  lua_rawgeti(L, lua_upvalueindex(1), at);
  return 1;
}

int Each(lua_State* L) {
  return Protected(L, [L] {
    const std::vector<Variant> items = automation::Enumerate(CheckObject(L, 1, "Each"));
    lua_createtable(L, static_cast<int>(items.size()), 0);
    lua_Integer at = 0;
    for (const Variant& item : items) {
      PushVariant(L, item);
      lua_rawseti(L, -2, ++at);
    }
    lua_pushinteger(L, at);
    lua_pushinteger(L, 0);
    lua_pushcclosure(L, NextItem, 3);
    return 1;
  });
}

void NewMetatable(lua_State* L, const char* name, const luaL_Reg* methods) {
  luaL_newmetatable(L, name);
  luaL_setfuncs(L, methods, 0);
  // getmetatable() from a script must not reach the finalizer.
  lua_pushstring(L, name);
  lua_setfield(L, -2, "__metatable");
  lua_pop(L, 1);
}

}  // namespace

void RaiseError(lua_State* L, const std::string& message) {
  luaL_where(L, 1);
  lua_pushlstring(L, message.data(), message.size());
  lua_concat(L, 2);
  lua_error(L);
  std::abort();  // lua_error does not return
}

void PushVariant(lua_State* L, const Variant& value) {
  switch (value.type()) {
    case VarType::Empty:
      lua_pushnil(L);
      return;
    case VarType::Null:
      lua_getfield(L, LUA_REGISTRYINDEX, kNullKey);
      return;
    case VarType::Boolean:
      lua_pushboolean(L, value.ToBoolean());
      return;
    case VarType::Integer:
    case VarType::Long:
      lua_pushinteger(L, value.ToLong());
      return;
    case VarType::Double:
      lua_pushnumber(L, value.ToDouble());
      return;
    case VarType::String: {
      const std::string text = value.ToString();
      lua_pushlstring(L, text.data(), text.size());
      return;
    }
    case VarType::Object:
      if (ObjectRef object = value.ToObject()) {
        NewObject(L, std::move(object));
      } else {
        lua_getfield(L, LUA_REGISTRYINDEX, kNothingKey);
      }
      return;
  }
  lua_pushnil(L);
}

Variant ToVariant(lua_State* L, int index) {
  switch (lua_type(L, index)) {
    case LUA_TNONE:
    case LUA_TNIL:
      return Variant();
    case LUA_TBOOLEAN:
      return Variant(lua_toboolean(L, index) != 0);
    case LUA_TNUMBER:
      if (lua_isinteger(L, index)) {
        const lua_Integer n = lua_tointeger(L, index);
        if (n >= std::numeric_limits<std::int16_t>::min() &&
            n <= std::numeric_limits<std::int16_t>::max()) {
          return Variant(static_cast<std::int16_t>(n));
        }
        if (n >= std::numeric_limits<std::int32_t>::min() &&
            n <= std::numeric_limits<std::int32_t>::max()) {
          return Variant(static_cast<std::int32_t>(n));
        }
        return Variant(static_cast<double>(n));
      }
      return Variant(static_cast<double>(lua_tonumber(L, index)));
    case LUA_TSTRING: {
      std::size_t size = 0;
      const char* data = lua_tolstring(L, index, &size);
      const std::string_view text(data, size);
      if (!automation::text::IsValidUtf8(text)) {
        throw Mismatch("the text \"" + std::string(automation::text::Left(text, 40)) +
                       "\" is not UTF-8");
      }
      return Variant(text);
    }
    case LUA_TUSERDATA:
      if (const ObjectRef* object = TestObject(L, index)) return Variant(*object);
      if (const Variant* value = TestValue(L, index)) return *value;
      break;
    default:
      break;
  }
  throw Mismatch(std::string("a ") + luaL_typename(L, index) + " has no automation value");
}

void OpenObjects(lua_State* L) {
  static const luaL_Reg kObjectMethods[] = {
      {"__index", ObjectIndex}, {"__newindex", ObjectNewIndex}, {"__call", ObjectCall},
      {"__eq", ObjectEqual},    {"__tostring", ObjectToString}, {"__gc", ObjectCollect},
      {nullptr, nullptr},
  };
  static const luaL_Reg kValueMethods[] = {
      {"__eq", ValueEqual},
      {"__tostring", ValueToString},
      {"__gc", ValueCollect},
      {nullptr, nullptr},
  };
  NewMetatable(L, kObjectType, kObjectMethods);
  NewMetatable(L, kValueType, kValueMethods);

  NewObject(L, nullptr);
  lua_pushvalue(L, -1);
  lua_setfield(L, LUA_REGISTRYINDEX, kNothingKey);
  lua_setglobal(L, "Nothing");
  NewValue(L, Variant::Null());
  lua_pushvalue(L, -1);
  lua_setfield(L, LUA_REGISTRYINDEX, kNullKey);
  lua_setglobal(L, "Null");

  static const luaL_Reg kFunctions[] = {
      {"Integer", IntegerOf}, {"Long", LongOf}, {"TypeName", TypeNameOf},
      {"ByRef", ByRef},       {"Each", Each},   {nullptr, nullptr},
  };
  lua_pushglobaltable(L);
  luaL_setfuncs(L, kFunctions, 0);
  lua_pop(L, 1);
}

}  // namespace vt::host::scripting
