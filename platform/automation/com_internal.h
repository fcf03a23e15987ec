#pragma once

// Internal to vtautomation's COM files.

#include "platform/automation/com.h"

namespace vt::automation::com::detail {

// Answered by the objects this module exposed only: the pointer returned is
// the exposing object, from which Unwrap takes our object back. Each module
// that carries this code (Veltrano.dll, FIX.exe, each with its own copy) has
// its own id, made from where its code lies, so that one never takes
// another's object for its own.
const IID& ExposedObjectIid();

// Our object behind an IDispatch we exposed; no object for any other.
ObjectRef Unwrap(IDispatch* dispatch);

// The IDispatch that a wrapper of a foreign object calls (no new reference);
// null for our own objects.
IDispatch* ForeignDispatch(const ObjectRef& object);

}  // namespace vt::automation::com::detail
