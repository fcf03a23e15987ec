// Everything open at once: every picture of the workspace, then the forms.
#include <exception>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/runtime.h"

namespace vt::interpreter {

void VeltranoModule::TranslateAll(const automation::ObjectRef& objUserForms) {
  if (blnDisabled || blnNotInFix || blnTranslateAllRunning) return;
  blnTranslateAllRunning = true;
  {
    PublicCall call(*this, "TranslateAll");
    try {
      const automation::ObjectRef objWorkspace = automation::GetObject("", "Workspace.Application");
      const automation::ObjectRef objDocuments =
          automation::Get(objWorkspace, "Documents").ToObject();
      for (const automation::Variant& item : automation::Enumerate(objDocuments)) {
        const automation::ObjectRef objDocument = item.ToObject();
        if (automation::Get(objDocument, "Type").ToString() != "FIX.Picture") continue;
        std::string strPicture = automation::Get(objDocument, "Name").ToString();
        std::int16_t intLanguage = 0;
        std::string strUser;
        TranslatePicture(strPicture, intLanguage, strUser);
      }
      if (objUserForms) {
        for (const automation::Variant& item : automation::Enumerate(objUserForms)) {
          std::int16_t intLanguage = 0;
          std::string strUser;
          TranslateForm(item.ToObject(), intLanguage, strUser);
        }
      }
    } catch (const std::exception& e) {
      HandleError("VeltranoModule", "TranslateAll", e.what(), "");
    }
  }
  blnTranslateAllRunning = false;
}

}  // namespace vt::interpreter
