#pragma once

// Windows only: an object of a COM server registered on the system (scrrun's
// Scripting.Dictionary under Wine), as our runtime wraps it; no object, and a
// failure of the test, when it cannot be made.

// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include <gtest/gtest.h>

#include "platform/automation/com.h"

namespace vt::testing {

inline automation::ObjectRef CreateComServerObject(const wchar_t* progid) {
  CLSID clsid;
  IDispatch* raw = nullptr;
  if (::CLSIDFromProgID(progid, &clsid) != S_OK ||
      ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                         reinterpret_cast<void**>(&raw)) != S_OK) {
    ADD_FAILURE() << "no COM server object of that class";
    return nullptr;
  }
  automation::ObjectRef object = automation::com::WrapDispatch(raw);
  raw->Release();
  return object;
}

}  // namespace vt::testing
