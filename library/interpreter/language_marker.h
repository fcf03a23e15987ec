#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/language_marker.h is above the component that includes it"
#endif

#include <cstdint>
#include <optional>

#include "platform/automation/dispatch.h"

namespace vt::interpreter {

// The UserForm interface: a form answers it, an iFix picture does not.
inline constexpr const char* kUserFormIid = "{04598FC8-866C-11CF-AB7C-00AA00C08FCF}";

// The language a marker names: a non-empty text (or number) that reads as a
// number, converted to a 16-bit integer ("Overflow" beyond its range).
// Anything else names no language.
std::optional<std::int16_t> MarkerLanguage(const automation::Variant& marker);

// The language marker of a picture (its Comments) or of a UserForm (its Tag).
automation::Variant ReadMarker(const automation::ObjectRef& objPictureOrForm);

}  // namespace vt::interpreter
