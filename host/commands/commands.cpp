#include "host/commands/commands.h"

#include "host/command.h"

namespace vt::host {

std::vector<Command> AllCommands() {
  return {
      commands::Regsvr(),          commands::TranslatePicture(), commands::TranslateAll(),
      commands::TranslateString(), commands::TranslateForm(),    commands::TranslateAlarms(),
      commands::SetUserLang(),     commands::UpdateDictionary(), commands::ChangeDevLang(),
      commands::ShowConfig(),      commands::RunScript(),
  };
}

}  // namespace vt::host
