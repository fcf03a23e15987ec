#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_MAINTENANCE
#error "library/maintenance/maintenance.h is above the component that includes it"
#endif

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "library/interpreter/messages.h"
#include "library/interpreter/session.h"
#include "library/interpreter/session_fwd.h"

namespace vt::dictionary {
class Connection;
class Dictionary;
}  // namespace vt::dictionary

namespace vt::pictures {
class PictureTranslator;
}

namespace vt::maintenance {

class PlaceLog;
struct Coverage;

// One maintenance call, from its start to every way out: while it lives the
// call counts as running, and when it ends the shared flags are lowered
// (blnMaintenanceRunning, blnDevLangSecondPass, blnDictionaryUpdated), also
// after a reported failure. Check Nested() first: a nested call must neither
// run nor lower the flags of the one under way.
class MaintenanceRun {
 public:
  static bool Nested(const interpreter::RunFlags& run) { return run.maintenance_procedure_running; }

  explicit MaintenanceRun(interpreter::RunFlags& run) : run_(run) {
    run_.maintenance_procedure_running = true;
  }
  ~MaintenanceRun() {
    run_.blnMaintenanceRunning = false;
    run_.blnDevLangSecondPass = false;
    run_.blnDictionaryUpdated = false;
    run_.maintenance_procedure_running = false;
  }
  MaintenanceRun(const MaintenanceRun&) = delete;
  MaintenanceRun& operator=(const MaintenanceRun&) = delete;

 private:
  interpreter::RunFlags& run_;
};

// The interpreter object's fields the runs read and save.
struct MaintenanceFields {
  std::shared_ptr<dictionary::Connection>& cnDictionary;
  std::shared_ptr<dictionary::Connection>& cnAlarmDictionary;
  bool& blnMissingTranslations;
  bool& translation_failed;
};

// TranslatePicture, as the public operation, on one chosen picture towards
// a language.
using TranslatePictureCall = std::function<void(std::string& strFixPicture, std::int16_t lang)>;

// The dictionary update and verification, the development-language change
// and the configuration file in the editor. Failures are reported as the
// interpreter object's.
class Maintenance {
 public:
  Maintenance(dictionary::Dictionary& dictionary, pictures::PictureTranslator& pictures,
              interpreter::Session& session, interpreter::Messages& messages,
              const interpreter::ErrorReporter& errors, MaintenanceFields fields,
              TranslatePictureCall translate_picture);

  // The bodies of the public operations, after their guard.
  void UpdateAndVerifyDictionary();
  void ChangeDevLang();
  void ShowStartupConfig();

 private:
  // What one maintenance pass over strSelectedPictures met.
  struct PicturePass {
    bool blnMissingTranslations = false;  // some picture lacked a translation
    int failed_pictures = 0;              // pictures whose translation reported a failure
  };
  // What the dictionary saves of one maintenance run met.
  struct RunSaves {
    bool failed = false;       // a save of this run failed
    std::string last_failure;  // told; the same failure again is not
    bool just_told = false;    // by the last save that was tried
    // The run's start, then its last save after a picture.
    std::chrono::system_clock::time_point since{};
  };

  // The shared flags raised, the pictures chosen in the dialog and the run
  // confirmed; false when the user stopped it (told).
  bool StartRun(interpreter::MaintenanceKind kind);
  // Saves the rows appended so far (a save costs what changed). False when
  // some remain unsaved after a failure of this run. A failure is told when it
  // first happens, and again at the `final_save` save, which retries and comes
  // before, and instead of, the run's verdict.
  bool SaveRunRows(RunSaves& saves, const char* strProcedure, bool final_save);
  // TranslatePicture on every selected picture, in order, towards `lang`,
  // the host's events pumped after each, and the appended rows saved after
  // one when a second has passed since the start or the last save.
  PicturePass TranslateSelectedPictures(std::int16_t lang, RunSaves& saves,
                                        const char* strProcedure, PlaceLog* places);
  // What an update run met, against the dictionary: nullopt when it cannot
  // be had (logged). The sheet "Where used" is then written among the run's
  // pending edits, the report after the run's save; their failures are
  // logged and change nothing of what the run tells.
  std::optional<Coverage> RunCoverage(const PlaceLog& places) noexcept;
  void NoteWhereUsed(const Coverage& coverage) noexcept;
  void WriteCoverageReport(const Coverage& coverage) noexcept;
  // The two keys that make N the development language; false when a key
  // could not be written (reported).
  bool WriteNewDevelopmentLanguage(std::int16_t new_dev_lang);

  dictionary::Dictionary& dictionary_;
  pictures::PictureTranslator& pictures_;
  interpreter::Session& session_;
  interpreter::Messages& messages_;
  const interpreter::ErrorReporter& errors_;
  MaintenanceFields fields_;
  TranslatePictureCall translate_picture_;
};

// The startup information panel (frmSplash) of this library, modally.
void ShowStartupPanel(const interpreter::Configuration& configuration,
                      interpreter::Messages& messages, const interpreter::ErrorReporter& errors);

}  // namespace vt::maintenance
