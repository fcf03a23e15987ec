#pragma once

// Windows only: our automation runtime on COM. Values cross as VARIANTs,
// foreign objects are called through IDispatch by name, and our objects are
// handed out as IDispatch, so any COM client (VBScript, VBA, C++) reaches
// them by late binding.

// clang-format off
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
// clang-format on

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/automation/variant.h"

namespace vt::automation::com {

// The kind of type library of the architecture built: a server registers its
// type library under win32 or win64 accordingly.
constexpr SYSKIND kBuiltSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

// GUID and our Guid (bytes in the order the text shows them).
Guid FromIid(const IID& iid);
IID ToIid(const Guid& guid);

// `out` receives a new value that the caller owns (VariantClear frees it);
// whatever it held is not freed. An object becomes VT_DISPATCH (no object:
// a null VT_DISPATCH, which is Nothing).
void ToVariant(const Variant& value, VARIANT* out);

// By-reference values are read through. Numbers of other widths become
// Integer, Long or Double; dates become text; VT_ERROR "parameter not found"
// (an omitted argument) is Empty. Arrays, records and objects without
// IDispatch are "Type mismatch" naming the VARIANT type.
Variant FromVariant(const VARIANT& value);

// Stores `value` where a by-reference argument points: a VT_BYREF|VT_VARIANT
// takes it as it is, a typed reference (VT_BYREF|VT_BSTR, ...) takes it
// converted to its type (Error when it does not convert). Not by reference:
// nothing happens, as the caller passed a value.
void WriteBack(const Variant& value, VARIANT* argument);

// True when the two hold the same type and the same value (texts compared by
// content, objects by pointer).
bool SameValue(const VARIANT& a, const VARIANT& b);

// DISP_E_EXCEPTION's details for an error: scode 0x800A0000 + number, as the
// host languages raise run-time errors; a number that is an HRESULT itself
// goes as it is. The strings are new BSTRs the caller frees.
void FillExcepInfo(const Error& error, std::string_view source, EXCEPINFO* info);

// The error an IDispatch call failed with: the exception's number and
// description for DISP_E_EXCEPTION, the runtime's own errors for the
// dispatch protocol's codes, else "Automation error" with the code.
// `where` names the member ("Type.Member") for the messages.
Error ErrorFromCall(HRESULT hr, EXCEPINFO* info, std::string_view where);

// Sets the thread's error info (IErrorInfo) from `error` and returns the
// HRESULT the vtable call returns: DISP_E_EXCEPTION's scode for the error.
HRESULT ReturnError(const Error& error, std::string_view source, const IID& iid);

// The name of the default interface that our objects of a class give as their
// type information (IDispatch::GetTypeInfo); IProvideClassInfo gives the
// class itself, a coclass whose default interface that one is. Components
// name the two apart (the forms package's class TextBox has the interface
// IMdcText); a program that stands in for one says how here, before it hands
// objects out. Without a namer, or for a class it names "", the interface is
// the class name after an underscore, as Visual Basic names its classes'.
using InterfaceNamer = std::string (*)(std::string_view class_name);
void SetInterfaceNamer(InterfaceNamer namer);

// One of our objects as IDispatch (a new reference the caller releases).
// An object that wraps a foreign IDispatch gives that IDispatch back.
IDispatch* ExposeObject(const ObjectRef& object);

// How many of the objects this module exposed (ExposeObject, and their
// enumerators) someone still holds: a server's DllCanUnloadNow says no while
// any lives, since their code is the server's.
std::size_t LiveExposedObjects();

// An IDispatch as one of our objects: our own exposed objects come back as
// they were; any other is wrapped and called by name (GetIDsOfNames, Invoke).
// The wrapper holds its own reference. Null gives no object.
ObjectRef WrapDispatch(IDispatch* dispatch);

// The four methods of IDispatch over one of our objects, for classes that
// implement a dual interface and answer late-bound calls here. With a type
// info, the member ids are those of the type library; without, every name
// gets an id on first sight and an unknown member is error 438 at the call.
// DISPID_VALUE is the member Item, DISPID_NEWENUM the object's enumeration.
class DispatchBridge {
 public:
  DispatchBridge(ObjectRef object, ITypeInfo* type_info);
  ~DispatchBridge();
  DispatchBridge(const DispatchBridge&) = delete;
  DispatchBridge& operator=(const DispatchBridge&) = delete;

  const ObjectRef& object() const { return object_; }

  HRESULT GetTypeInfoCount(UINT* count);
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info);
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* info, UINT* arg_error);

 private:
  std::string NameOf(DISPID id);

  ObjectRef object_;
  ITypeInfo* type_info_;
  std::vector<std::string> names_;  // id - 1 -> the name as first asked for
};

// IDispatch's four methods for `Object`, which implements `Interface` (IDispatch
// or a dual interface) over the DispatchBridge it keeps as `bridge_`.
// `Object` befriends this base when `bridge_` is private. Like every COM
// object it is destroyed by Release, never through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <typename Object, typename Interface>
class BridgedDispatch : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return Bridge().GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return Bridge().GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return Bridge().GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT* arg_error) override {
    return Bridge().Invoke(id, riid, lcid, flags, params, result, info, arg_error);
  }

 private:
  DispatchBridge& Bridge() { return static_cast<Object*>(this)->bridge_; }
};
#pragma GCC diagnostic pop

}  // namespace vt::automation::com
