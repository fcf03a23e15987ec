#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// The engine that runs the host's scripts: Lua on Linux, VBScript (the
// Windows Script engine) on Windows. Both give scripts CreateObject,
// GetObject, MsgBox and the host's own functions.
namespace vt::host::scripting {

struct ScriptLanguage {
  const char* name;       // "Lua", "VBScript"
  const char* extension;  // ".lua", ".vbs"
  const char* arguments;  // how the script reads its arguments, for the usage text
};
ScriptLanguage HostScriptLanguage();

// Runs the script file with `args`; what it prints goes to `out`. Returns
// the message of the error that stopped it, "SCRIPT:LINE: message" (the
// script's path as given), or nothing when it ran to its end. The script's
// objects are released before it returns.
std::optional<std::string> RunScriptFile(const std::string& path,
                                         const std::vector<std::string>& args, std::ostream& out);

}  // namespace vt::host::scripting
