#pragma once

#include "library/interpreter/module_state.h"

namespace vt::maintenance {

// One maintenance call, from its start to every way out: while it lives the
// call counts as running, and when it ends the shared flags are lowered
// (blnMaintenanceRunning, blnDevLangSecondPass, blnDictionaryUpdated), also
// after a reported failure. Check Nested() first: a nested call must neither
// run nor lower the flags of the one under way.
class MaintenanceRun {
 public:
  static bool Nested() { return interpreter::Module().blnMaintenanceProcedureRunning; }

  MaintenanceRun() { interpreter::Module().blnMaintenanceProcedureRunning = true; }
  ~MaintenanceRun() {
    interpreter::ModuleState& module = interpreter::Module();
    module.blnMaintenanceRunning = false;
    module.blnDevLangSecondPass = false;
    module.blnDictionaryUpdated = false;
    module.blnMaintenanceProcedureRunning = false;
  }
  MaintenanceRun(const MaintenanceRun&) = delete;
  MaintenanceRun& operator=(const MaintenanceRun&) = delete;
};

}  // namespace vt::maintenance
