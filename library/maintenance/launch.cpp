#include "library/maintenance/launch.h"

#include "platform/system/env.h"
#include "platform/ui/backend.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {

void StartEditor(const std::string& path) {
  if (ui::CurrentBackend().Attended()) system::CurrentEnv().StartProgram("Notepad.exe " + path);
  ui::RecordLaunch("editor", path);
}

void OpenDocument(const std::string& path) {
  if (ui::CurrentBackend().Attended()) system::CurrentEnv().OpenWithDefaultProgram(path);
  ui::RecordLaunch("document", path);
}

}  // namespace vt::maintenance
