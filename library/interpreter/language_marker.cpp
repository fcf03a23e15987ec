#include "library/interpreter/language_marker.h"

namespace vt::interpreter {

std::optional<std::int16_t> MarkerLanguage(const automation::Variant& marker) {
  if (marker.IsNull() || marker.IsEmpty() || marker.IsObject()) return std::nullopt;
  if (marker.ToString().empty() || !marker.IsNumeric()) return std::nullopt;
  return marker.ToInteger();
}

automation::Variant ReadMarker(const automation::ObjectRef& objPictureOrForm) {
  static const automation::Guid kUserForm = automation::Guid::FromString(kUserFormIid);
  if (objPictureOrForm && objPictureOrForm->QueryInterface(kUserForm)) {
    return automation::Get(objPictureOrForm, "Tag");
  }
  return automation::Get(objPictureOrForm, "Comments");
}

}  // namespace vt::interpreter
