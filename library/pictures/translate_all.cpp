// Everything open at once: every picture of the workspace, then the forms.
#include <exception>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/pictures/picture_translator.h"
#include "platform/automation/runtime.h"

namespace vt::pictures {

void PictureTranslator::TranslateAll(
    const automation::ObjectRef& objUserForms,
    const std::function<void(std::string&)>& translate_picture,
    const std::function<void(const automation::ObjectRef&)>& translate_form) {
  try {
    const automation::ObjectRef objWorkspace = automation::GetObject("", "Workspace.Application");
    const automation::ObjectRef objDocuments =
        automation::Get(objWorkspace, "Documents").ToObject();
    for (const automation::Variant& item : automation::Enumerate(objDocuments)) {
      const automation::ObjectRef objDocument = item.ToObject();
      if (automation::Get(objDocument, "Type").ToString() != "FIX.Picture") continue;
      std::string strPicture = automation::Get(objDocument, "Name").ToString();
      translate_picture(strPicture);
    }
    if (objUserForms) {
      for (const automation::Variant& item : automation::Enumerate(objUserForms)) {
        translate_form(item.ToObject());
      }
    }
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateAll", e.what(), "");
  }
}

}  // namespace vt::pictures
