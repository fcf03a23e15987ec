#include "host/scripting/lua_state.h"

#include <lua.hpp>
#include <new>
#include <ostream>
#include <stdexcept>

#include "host/scripting/lua_host.h"
#include "host/scripting/lua_objects.h"

namespace vt::host::scripting {
namespace {

std::ostream& Out(lua_State* L) {
  return *static_cast<std::ostream*>(lua_touserdata(L, lua_upvalueindex(1)));
}

int Print(lua_State* L) {
  std::ostream& out = Out(L);
  const int count = lua_gettop(L);
  for (int i = 1; i <= count; ++i) {
    std::size_t size = 0;
    const char* text = luaL_tolstring(L, i, &size);  // __tostring and __name, as print does
    if (i > 1) out << '\t';
    out.write(text, static_cast<std::streamsize>(size));
    lua_pop(L, 1);
  }
  out << '\n';
  return 0;
}

int Write(lua_State* L) {
  std::ostream& out = Out(L);
  const int count = lua_gettop(L);
  for (int i = 1; i <= count; ++i) {
    std::size_t size = 0;
    const char* text = luaL_checklstring(L, i, &size);
    out.write(text, static_cast<std::streamsize>(size));
  }
  return 0;
}

// load(chunk [, name [, mode [, env]]]) with the mode forced to text: a
// binary chunk can break the interpreter.
int LoadText(lua_State* L) {
  lua_settop(L, 4);
  lua_pushliteral(L, "t");
  lua_replace(L, 3);
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_insert(L, 1);
  lua_call(L, 4, LUA_MULTRET);
  return lua_gettop(L);
}

void OpenLibrary(lua_State* L, const char* name, lua_CFunction open) {
  luaL_requiref(L, name, open, 1);
  lua_pop(L, 1);
}

// Keeps only `keep` of the global table `name`.
void KeepOnly(lua_State* L, const char* name, std::initializer_list<const char*> keep) {
  lua_getglobal(L, name);
  lua_createtable(L, 0, static_cast<int>(keep.size()));
  for (const char* field : keep) {
    lua_getfield(L, -2, field);
    lua_setfield(L, -2, field);
  }
  lua_setglobal(L, name);
  lua_pop(L, 1);
}

int Setup(lua_State* L) {
  void* out = lua_touserdata(L, 1);
  OpenLibrary(L, LUA_GNAME, luaopen_base);
  OpenLibrary(L, LUA_STRLIBNAME, luaopen_string);
  OpenLibrary(L, LUA_TABLIBNAME, luaopen_table);
  OpenLibrary(L, LUA_MATHLIBNAME, luaopen_math);
  OpenLibrary(L, LUA_UTF8LIBNAME, luaopen_utf8);
  OpenLibrary(L, LUA_OSLIBNAME, luaopen_os);
  KeepOnly(L, LUA_OSLIBNAME, {"clock", "date", "time", "difftime"});
  luaL_getsubtable(L, LUA_REGISTRYINDEX, LUA_LOADED_TABLE);
  lua_pushnil(L);
  lua_setfield(L, -2, LUA_OSLIBNAME);  // the full library stays out of reach
  lua_pop(L, 1);

  lua_pushnil(L);
  lua_setglobal(L, "dofile");
  lua_pushnil(L);
  lua_setglobal(L, "loadfile");
  lua_getglobal(L, "load");
  lua_pushcclosure(L, LoadText, 1);
  lua_setglobal(L, "load");

  lua_pushlightuserdata(L, out);
  lua_pushcclosure(L, Print, 1);
  lua_setglobal(L, "print");
  lua_createtable(L, 0, 1);
  lua_pushlightuserdata(L, out);
  lua_pushcclosure(L, Write, 1);
  lua_setfield(L, -2, "write");
  lua_setglobal(L, "io");

  OpenObjects(L);
  OpenHostFunctions(L);
  return 0;
}

// The message of an error that ends a script: its text, or what the error
// object says of itself.
int Message(lua_State* L) {
  if (lua_type(L, 1) == LUA_TSTRING) return 1;
  if (luaL_callmeta(L, 1, "__tostring") && lua_type(L, -1) == LUA_TSTRING) return 1;
  lua_pushfstring(L, "(error object is a %s value)", luaL_typename(L, 1));
  return 1;
}

struct Job {
  const std::string* path = nullptr;   // a file, or
  const std::string* chunk = nullptr;  // text named `name`
  const std::string* name = nullptr;
  const std::vector<std::string>* args = nullptr;
};

int RunJob(lua_State* L) {
  const Job& job = *static_cast<const Job*>(lua_touserdata(L, 1));
  lua_settop(L, 0);
  const int status = job.path != nullptr ? luaL_loadfilex(L, job.path->c_str(), "t")
                                         : luaL_loadbufferx(L, job.chunk->data(), job.chunk->size(),
                                                            ("=" + *job.name).c_str(), "t");
  if (status != LUA_OK) return lua_error(L);

  const std::vector<std::string> none;
  const std::vector<std::string>& args = job.args != nullptr ? *job.args : none;
  lua_createtable(L, static_cast<int>(args.size()), 1);
  const std::string& script = job.path != nullptr ? *job.path : *job.name;
  lua_pushlstring(L, script.data(), script.size());
  lua_rawseti(L, -2, 0);
  lua_Integer at = 0;
  for (const std::string& arg : args) {
    lua_pushlstring(L, arg.data(), arg.size());
    lua_rawseti(L, -2, ++at);
  }
  lua_setglobal(L, "arg");

  luaL_checkstack(L, static_cast<int>(args.size()), "too many script arguments");
  for (const std::string& arg : args) lua_pushlstring(L, arg.data(), arg.size());
  lua_call(L, static_cast<int>(args.size()), 0);
  return 0;
}

// Runs `function` with one light userdata argument under the message
// handler; returns the error message, if any.
std::optional<std::string> ProtectedCall(lua_State* L, lua_CFunction function, void* data) {
  lua_settop(L, 0);
  lua_pushcfunction(L, Message);
  lua_pushcfunction(L, function);
  lua_pushlightuserdata(L, data);
  const int status = lua_pcall(L, 1, 0, 1);
  std::optional<std::string> error;
  if (status != LUA_OK) {
    std::size_t size = 0;
    const char* text = lua_tolstring(L, -1, &size);
    error = text != nullptr ? std::string(text, size) : std::string("(no error message)");
  }
  lua_settop(L, 0);
  return error;
}

struct GlobalValue {
  const std::string* name;
  const automation::Variant* value;
};

int SetGlobalJob(lua_State* L) {
  const auto& job = *static_cast<const GlobalValue*>(lua_touserdata(L, 1));
  PushVariant(L, *job.value);
  lua_setglobal(L, job.name->c_str());
  return 0;
}

}  // namespace

LuaState::LuaState(std::ostream& out) : L_(luaL_newstate()) {
  if (L_ == nullptr) throw std::bad_alloc();
  if (auto error = ProtectedCall(L_, Setup, &out)) {
    lua_close(L_);
    throw std::runtime_error("cannot set up the script interpreter: " + *error);
  }
}

LuaState::~LuaState() { lua_close(L_); }

std::optional<std::string> LuaState::RunFile(const std::string& path,
                                             const std::vector<std::string>& args) {
  Job job;
  job.path = &path;
  job.args = &args;
  return ProtectedCall(L_, RunJob, &job);
}

std::optional<std::string> LuaState::RunText(const std::string& chunk, const std::string& name) {
  Job job;
  job.chunk = &chunk;
  job.name = &name;
  return ProtectedCall(L_, RunJob, &job);
}

void LuaState::SetGlobal(const std::string& name, const automation::Variant& value) {
  GlobalValue job{&name, &value};
  if (auto error = ProtectedCall(L_, SetGlobalJob, &job)) throw std::runtime_error(*error);
}

}  // namespace vt::host::scripting
