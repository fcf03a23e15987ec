#include "library/maintenance/splash_form.h"

#include <exception>
#include <utility>
#include <vector>

#include "library/interpreter/application_files.h"
#include "library/interpreter/messages.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/maintenance/launch.h"
#include "library/maintenance/library_version.h"
#include "platform/system/env.h"
#include "platform/system/module_path.h"
#include "platform/system/paths.h"

namespace vt::maintenance {
namespace {

// Any object of the library tells the loader which file holds it.
const char kInsideTheLibrary = 0;

}  // namespace

SplashSettings LibrarySplashSettings(const std::string& fix_path) {
  const LibraryVersion version = OwnLibraryVersion();
  SplashSettings settings{version.major, version.minor, {}, fix_path};
  try {
    settings.library_folder = system::ModuleFolderOf(&kInsideTheLibrary);
  } catch (const std::exception&) {
    // No folder: no guide and no agreement text are found, as when missing.
  }
  return settings;
}

SplashForm::SplashForm(SplashSettings settings, interpreter::Messages& messages,
                       const interpreter::ErrorReporter& errors)
    : settings_(std::move(settings)), messages_(messages), errors_(errors) {}

template <typename Body>
void SplashForm::Event(const char* procedure, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    errors_.HandleError(kName, procedure, e.what(), "");
  } catch (...) {
    errors_.HandleError(kName, procedure, "unknown failure", "");
  }
}

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
    const std::string path = interpreter::ApplicationFiles(settings_.fix_path).Configuration();
    if (system::CurrentEnv().FileExists(path)) {
      StartEditor(path);
      return;
    }
    messages_.ConfigurationMissing(path);
  });
}

}  // namespace vt::maintenance
