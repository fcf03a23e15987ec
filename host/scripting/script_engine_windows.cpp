// The host's scripts in VBScript, through the Windows Script engine
// (IActiveScript, IActiveScriptParse), the language closest to the host's VBA.
#include <memory>
#include <ostream>
#include <string>

#include "host/scripting/script_engine.h"
#include "host/scripting/vbscript_site.h"
#include "platform/automation/server.h"
#include "platform/system/env.h"
#include "platform/system/text_windows.h"

namespace vt::host::scripting {
namespace {

// Releases a COM interface however the run ends.
template <typename Interface>
class Held {
 public:
  Held() = default;
  explicit Held(Interface* p) : p_(p) {}
  ~Held() {
    if (p_ != nullptr) p_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  Interface* operator->() const { return p_; }
  Interface* get() const { return p_; }
  void** out() { return reinterpret_cast<void**>(&p_); }

 private:
  Interface* p_ = nullptr;
};

std::string Failed(const std::string& script, const std::string& what, HRESULT hr) {
  return script + ": " + what + " failed with " + automation::FormatHResult(hr);
}

}  // namespace

ScriptLanguage HostScriptLanguage() {
  return {"VBScript", ".vbs", "Arguments(0), Arguments(1), ..."};
}

std::optional<std::string> RunScriptFile(const std::string& path,
                                         const std::vector<std::string>& args, std::ostream& out) {
  std::string text;
  try {
    text = system::CurrentEnv().ReadFile(path);
  } catch (const std::exception& e) {
    return path + ": cannot be read: " + e.what();
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  const std::wstring code = system::windows::Widen(text);

  auto globals = std::make_shared<HostGlobals>(out, args);
  Held<IDispatch> globals_dispatch(new GlobalsDispatch(globals));
  Held<ScriptSite> site(new ScriptSite(path, globals_dispatch.get()));

  CLSID clsid{};
  HRESULT hr = ::CLSIDFromProgID(L"VBScript", &clsid);
  if (FAILED(hr)) return Failed(path, "finding the VBScript engine", hr);
  Held<IActiveScript> engine;
  hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IActiveScript),
                          engine.out());
  if (FAILED(hr)) return Failed(path, "starting the VBScript engine", hr);
  // IActiveScriptParse names the 32-bit or the 64-bit interface, as built.
  Held<IActiveScriptParse> parser;
  hr = engine->QueryInterface(__uuidof(IActiveScriptParse), parser.out());
  if (FAILED(hr)) return Failed(path, "asking the engine for its parser", hr);

  std::optional<std::string> error;
  hr = parser->InitNew();
  if (SUCCEEDED(hr)) hr = engine->SetScriptSite(site.get());
  if (SUCCEEDED(hr)) hr = engine->AddNamedItem(kHostItemName, SCRIPTITEM_ISVISIBLE);
  if (SUCCEEDED(hr)) hr = engine->SetScriptState(SCRIPTSTATE_STARTED);
  if (FAILED(hr)) {
    error = Failed(path, "preparing the VBScript engine", hr);
  } else {
    // Started, the engine runs the code as soon as it is parsed.
    EXCEPINFO info{};
    hr = parser->ParseScriptText(code.c_str(), kHostItemName, nullptr, nullptr, 0, 0,
                                 SCRIPTTEXT_ISVISIBLE, nullptr, &info);
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    if (site->error()) {
      error = site->error();
    } else if (FAILED(hr)) {
      error = Failed(path, "running the script", hr);
    }
  }
  // Closing releases what the script still holds before the host goes on.
  engine->Close();
  out.flush();
  return error;
}

}  // namespace vt::host::scripting
