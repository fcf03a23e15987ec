#include "library/maintenance/splash_form.h"

#include <exception>
#include <utility>
#include <vector>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/maintenance/launch.h"
#include "library/maintenance/library_version.h"
#include "platform/system/env.h"
#include "platform/system/module_path.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {
namespace {

template <typename Body>
void Event(const char* procedure, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    interpreter::HandleError(SplashForm::kName, procedure, e.what(), "");
  } catch (...) {
    interpreter::HandleError(SplashForm::kName, procedure, "unknown failure", "");
  }
}

// Any object of the library tells the loader which file holds it.
const char kInsideTheLibrary = 0;

}  // namespace

SplashSettings LibrarySplashSettings() {
  const LibraryVersion version = OwnLibraryVersion();
  SplashSettings settings{version.major, version.minor, {}, interpreter::Module().strFixPath};
  try {
    settings.library_folder = system::ModuleFolderOf(&kInsideTheLibrary);
  } catch (const std::exception&) {
    // No folder: no guide and no agreement text are found, as when missing.
  }
  return settings;
}

SplashForm::SplashForm(SplashSettings settings) : settings_(std::move(settings)) {}

void SplashForm::Form_Load() {
  Event("Form_Load", [this] {
    lblRelease = "Ver. " + std::to_string(settings_.major) + "." + std::to_string(settings_.minor);
  });
}

void SplashForm::cmdOk_Click() {
  Event("cmdOk_Click", [this] { closed = true; });
}

void SplashForm::OpenGuide(const char* procedure, const char* file_name) {
  Event(procedure, [this, file_name] {
    const std::string path = settings_.library_folder + system::SystemPath("\\") + file_name;
    if (system::CurrentEnv().FileExists(path)) OpenDocument(path);
  });
}

void SplashForm::cmdOpenUserGuide_EN_Click() {
  OpenGuide("cmdOpenUserGuide_EN_Click", "Veltrano.UserGuide-EN.pdf");
}

void SplashForm::cmdOpenUserGuide_IT_Click() {
  OpenGuide("cmdOpenUserGuide_IT_Click", "Veltrano.GuidaUtente-IT.pdf");
}

void SplashForm::cmdOpenEula_Click() {
  Event("cmdOpenEula_Click", [this] {
    const std::vector<std::string> found =
        system::CurrentEnv().ListFiles(settings_.library_folder, "EULA*.txt");
    if (!found.empty())
      OpenDocument(settings_.library_folder + system::SystemPath("\\") + found.front());
  });
}

void SplashForm::cmdOpenIniFile_Click() {
  Event("cmdOpenIniFile_Click", [this] {
    const std::string path = settings_.fix_path + system::SystemPath("\\Veltrano\\Veltrano.ini");
    if (system::CurrentEnv().FileExists(path)) {
      StartEditor(path);
      return;
    }
    ui::MsgBox("The file \"" + path +
                   "\" does not exist:\r\nthe \"Veltrano.dll\" cannot start.\r\n\r\n"
                   "Please call your supplier !",
               ui::kStyleCritical, " Veltrano - WARNING");
  });
}

}  // namespace vt::maintenance
