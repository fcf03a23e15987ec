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
    const automation::ObjectRef workspace = automation::GetObject("", "Workspace.Application");
    const automation::ObjectRef documents = automation::Get(workspace, "Documents").ToObject();
    for (const automation::Variant& item : automation::Enumerate(documents)) {
      const automation::ObjectRef document = item.ToObject();
      if (automation::Get(document, "Type").ToString() != "FIX.Picture") continue;
      std::string picture = automation::Get(document, "Name").ToString();
      translate_picture(picture);
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
