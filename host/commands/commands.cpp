#include "host/commands/commands.h"

#include <utility>

#include "host/command.h"

namespace vt::host {

std::vector<Command> AllCommands() {
  std::vector<Command> all{
      commands::Regsvr(),          commands::TranslatePicture(), commands::TranslateAll(),
      commands::TranslateString(), commands::TranslateForm(),    commands::TranslateAlarms(),
      commands::SetUserLang(),     commands::UpdateDictionary(), commands::ChangeDevLang(),
      commands::ShowConfig(),      commands::RunScript(),
  };
  for (Command& command : commands::PlatformCommands()) all.push_back(std::move(command));
  return all;
}

}  // namespace vt::host
