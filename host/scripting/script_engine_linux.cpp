#include "host/scripting/lua_state.h"
#include "host/scripting/script_engine.h"

namespace vt::host::scripting {

ScriptLanguage HostScriptLanguage() { return {"Lua", ".lua", "arg[1], arg[2], ..."}; }

std::optional<std::string> RunScriptFile(const std::string& path,
                                         const std::vector<std::string>& args, std::ostream& out) {
  LuaState lua(out);
  return lua.RunFile(path, args);
}

}  // namespace vt::host::scripting
