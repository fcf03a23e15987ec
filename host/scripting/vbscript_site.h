#pragma once

// Windows only: the host's side of the Windows Script engine. The site hands
// the engine the host's global object by its item name and keeps the first
// error the script stopped on.

// clang-format off
#include <windows.h>
#include <activscp.h>
// clang-format on

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "host/scripting/vbscript_globals.h"
#include "platform/automation/com.h"

// COM objects are released through Release, never deleted through their
// interface, so the interfaces have no virtual destructor.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace vt::host::scripting {

// The item under which the script's code runs (AddNamedItem, ParseScriptText).
inline constexpr const wchar_t* kHostItemName = L"Host";

// HostGlobals as the engine sees it: names it does not know are unknown to
// GetIDsOfNames, so that the language's and the script's own names resolve as
// usual.
class GlobalsDispatch final : public IDispatch {
 public:
  explicit GlobalsDispatch(std::shared_ptr<HostGlobals> globals);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT* arg_error) override;

 private:
  ~GlobalsDispatch() = default;

  std::atomic<ULONG> references_{1};
  std::shared_ptr<HostGlobals> globals_;
  automation::com::DispatchBridge bridge_;
};

class ScriptSite final : public IActiveScriptSite {
 public:
  // `script` names the script in error messages.
  ScriptSite(std::string script, IDispatch* globals);

  // "SCRIPT:LINE: description" of the error the engine reported first.
  const std::optional<std::string>& error() const { return error_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetLCID(LCID* lcid) override;
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item,
                                        ITypeInfo** type_info) override;
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* version) override;
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT* result,
                                              const EXCEPINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE state) override;
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override;
  HRESULT STDMETHODCALLTYPE OnEnterScript() override;
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override;

 private:
  ~ScriptSite();

  std::atomic<ULONG> references_{1};
  std::string script_;
  IDispatch* globals_;
  std::optional<std::string> error_;
};

}  // namespace vt::host::scripting

#pragma GCC diagnostic pop
