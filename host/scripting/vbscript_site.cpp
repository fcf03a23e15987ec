#include "host/scripting/vbscript_site.h"

#include <cstdint>
#include <string>
#include <utility>

#include "platform/automation/server.h"
#include "platform/system/text_windows.h"

namespace vt::host::scripting {
namespace {

template <typename Interface>
HRESULT Answer(Interface* self, void** out) {
  self->AddRef();
  *out = self;
  return S_OK;
}

// Wine's engine reports its own errors by code alone.
std::string DescriptionOf(std::int32_t number) {
  const auto code = static_cast<HRESULT>(number);
  if (code == DISP_E_DIVBYZERO) return "Division by zero";
  if (code == E_FAIL) return "a syntax error, or the script engine failed (0x80004005)";
  // Run-time errors of the language come as 0x800A0000 + their number.
  const auto bits = static_cast<std::uint32_t>(number);
  if ((bits & 0xFFFF0000u) == 0x800A0000u)
    return "run-time error " + std::to_string(bits & 0xFFFFu);
  std::string text = automation::com::ErrorFromCall(code, nullptr, "").description();
  if (text.ends_with(": ")) text.resize(text.size() - 2);  // no member to name
  return text;
}

}  // namespace

GlobalsDispatch::GlobalsDispatch(std::shared_ptr<HostGlobals> globals)
    : globals_(globals), bridge_(std::move(globals), nullptr) {}

HRESULT GlobalsDispatch::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch) return Answer(this, out);
  return E_NOINTERFACE;
}

ULONG GlobalsDispatch::AddRef() { return ++references_; }

ULONG GlobalsDispatch::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT GlobalsDispatch::GetTypeInfoCount(UINT* count) { return bridge_.GetTypeInfoCount(count); }

HRESULT GlobalsDispatch::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
  return bridge_.GetTypeInfo(index, lcid, info);
}

HRESULT GlobalsDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                       DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  if (!globals_->Knows(system::windows::Narrow(names[0]))) {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  return bridge_.GetIDsOfNames(riid, names, count, lcid, ids);
}

HRESULT GlobalsDispatch::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* info, UINT* arg_error) {
  return bridge_.Invoke(id, riid, lcid, flags, params, result, info, arg_error);
}

ScriptSite::ScriptSite(std::string script, IDispatch* globals)
    : script_(std::move(script)), globals_(globals) {
  globals_->AddRef();
}

ScriptSite::~ScriptSite() { globals_->Release(); }

HRESULT ScriptSite::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IActiveScriptSite) return Answer(this, out);
  return E_NOINTERFACE;
}

ULONG ScriptSite::AddRef() { return ++references_; }

ULONG ScriptSite::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT ScriptSite::GetLCID(LCID*) { return E_NOTIMPL; }  // the user's locale

HRESULT ScriptSite::GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item,
                                ITypeInfo** type_info) {
  if ((mask & SCRIPTINFO_IUNKNOWN) != 0) {
    if (item == nullptr) return E_POINTER;
    *item = nullptr;
  }
  if ((mask & SCRIPTINFO_ITYPEINFO) != 0) {
    if (type_info == nullptr) return E_POINTER;
    *type_info = nullptr;
  }
  if (name == nullptr || ::lstrcmpiW(name, kHostItemName) != 0) return TYPE_E_ELEMENTNOTFOUND;
  if ((mask & SCRIPTINFO_IUNKNOWN) != 0) {
    globals_->AddRef();
    *item = globals_;
  }
  if ((mask & SCRIPTINFO_ITYPEINFO) != 0) globals_->GetTypeInfo(0, 0, type_info);
  return S_OK;
}

HRESULT ScriptSite::GetDocVersionString(BSTR*) { return E_NOTIMPL; }

HRESULT ScriptSite::OnScriptTerminate(const VARIANT*, const EXCEPINFO*) { return S_OK; }

HRESULT ScriptSite::OnStateChange(SCRIPTSTATE) { return S_OK; }

HRESULT ScriptSite::OnScriptError(IActiveScriptError* error) {
  if (error == nullptr || error_) return S_OK;
  EXCEPINFO info{};
  std::string description;
  std::int32_t number = 0;
  if (SUCCEEDED(error->GetExceptionInfo(&info))) {
    if (info.pfnDeferredFillIn != nullptr) info.pfnDeferredFillIn(&info);
    if (info.bstrDescription != nullptr)
      description = system::windows::Narrow(info.bstrDescription);
    number = info.scode != 0 ? info.scode : info.wCode;
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
  }
  if (description.empty()) description = DescriptionOf(number);
  DWORD context = 0;
  ULONG line = 0;
  LONG column = 0;
  std::string where = script_;
  if (SUCCEEDED(error->GetSourcePosition(&context, &line, &column))) {
    where += ":" + std::to_string(line + 1);  // the engine counts lines from 0
  }
  error_ = where + ": " + description;
  return S_OK;
}

HRESULT ScriptSite::OnEnterScript() { return S_OK; }

HRESULT ScriptSite::OnLeaveScript() { return S_OK; }

}  // namespace vt::host::scripting
