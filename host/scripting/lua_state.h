#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/variant.h"

struct lua_State;

namespace vt::host::scripting {

// A Lua 5.4 state for the host's scripts. It has the libraries a host script
// needs and nothing that reaches the machine: base (without dofile and
// loadfile; load takes text only), string, table, math, utf8; os.clock,
// os.date, os.time and os.difftime; print and io.write, which write to `out`.
// On top: the automation objects (lua_objects.h) and the host's functions
// (lua_host.h).
class LuaState {
 public:
  explicit LuaState(std::ostream& out);
  LuaState(const LuaState&) = delete;
  LuaState& operator=(const LuaState&) = delete;
  ~LuaState();

  // Runs the script file with `args` (the global table arg: arg[0] the
  // script, arg[1]... the arguments; also the chunk's `...`). Returns the
  // message of the error that ended it, "SCRIPT:LINE: message" (the script's
  // path as given), or nothing when it ran to its end.
  std::optional<std::string> RunFile(const std::string& path,
                                     const std::vector<std::string>& args = {});
  // The same for a chunk of text, named `name` in messages.
  std::optional<std::string> RunText(const std::string& chunk, const std::string& name);

  // Sets a global to the Lua value of `value`.
  void SetGlobal(const std::string& name, const automation::Variant& value);

  lua_State* get() const { return L_; }

 private:
  lua_State* L_;
};

}  // namespace vt::host::scripting
