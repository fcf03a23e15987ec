#include "library/maintenance/launch.h"

#include "platform/system/env.h"
#include "platform/ui/backend.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {
namespace {

// The editor and the documents open maximized and active.
constexpr system::ShowCommand kShow = system::ShowCommand::Maximized;

}  // namespace

void StartEditor(const std::string& path) {
  if (ui::CurrentBackend().Attended()) {
    system::CurrentEnv().StartProgram("Notepad.exe " + path, kShow);
  }
  ui::RecordLaunch("editor", path, static_cast<int>(kShow));
}

void OpenDocument(const std::string& path) {
  if (ui::CurrentBackend().Attended()) system::CurrentEnv().OpenWithDefaultProgram(path, kShow);
  ui::RecordLaunch("document", path, static_cast<int>(kShow));
}

}  // namespace vt::maintenance
