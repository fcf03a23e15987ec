#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/splash_form.h is private to its component"
#endif

#include <string>

namespace vt::interpreter {
class ErrorReporter;
class Messages;
}  // namespace vt::interpreter

namespace vt::maintenance {

// Where the startup panel finds what it shows and opens.
struct SplashSettings {
  int major = 0;  // the library's version
  int minor = 0;
  std::string library_folder;  // the guides and EULA*.txt lie here
  std::string fix_path;        // the pictures folder (Veltrano/Veltrano.ini below it)
};

// The settings of this library: its version, its own folder, and the
// pictures folder `fix_path` (strFixPath).
SplashSettings LibrarySplashSettings(const std::string& fix_path);

// The form model of frmSplash, the startup information panel: the version
// label and the five buttons' event procedures. It keeps no other state.
class SplashForm {
 public:
  SplashForm(SplashSettings settings, interpreter::Messages& messages,
             const interpreter::ErrorReporter& errors);

  static constexpr const char* kName = "frmSplash";
  const SplashSettings& settings() const { return settings_; }

  std::string lblRelease;  // set by Form_Load
  bool closed = false;

  // Each reports its own failures under "frmSplash" and its own name; the
  // panel stays open.
  void Form_Load();
  void cmdOk_Click();
  void cmdOpenUserGuide_EN_Click();
  void cmdOpenUserGuide_IT_Click();
  void cmdOpenIniFile_Click();
  void cmdOpenEula_Click();

 private:
  void OpenGuide(const char* procedure, const char* file_name);
  template <typename Body>
  void Event(const char* procedure, Body&& body) noexcept;

  SplashSettings settings_;
  interpreter::Messages& messages_;
  const interpreter::ErrorReporter& errors_;
};

}  // namespace vt::maintenance
