#pragma once

// Internal to vtautomation's COM files.

#include "platform/automation/com.h"

namespace vt::automation::com::detail {

// Answered by our own exposed objects only: the pointer returned is the
// exposing object, from which Unwrap takes our object back.
inline constexpr IID kIidExposedObject = {
    0x5B789802, 0x435E, 0x489F, {0x9A, 0x29, 0x76, 0x7F, 0x33, 0xEE, 0x0F, 0xEA}};

// Our object behind an IDispatch we exposed; no object for any other.
ObjectRef Unwrap(IDispatch* dispatch);

// The IDispatch that a wrapper of a foreign object calls (no new reference);
// null for our own objects.
IDispatch* ForeignDispatch(const ObjectRef& object);

}  // namespace vt::automation::com::detail
