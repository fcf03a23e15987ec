// The library as a COM in-process server: the class factory, the four entry
// points, and VeltranoModule behind its dual interface _VeltranoModule (by
// slot through the vtable, by name through IDispatch).
// The header widl writes declares COM interfaces, which have no virtual
// destructors by design.
// clang-format off
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#include <initguid.h>
#include "veltrano_idl.h"
#pragma GCC diagnostic pop
// clang-format on
#include <olectl.h>

#include <atomic>
#include <memory>
#include <string>

#include "library/interpreter/registration.h"
#include "library/interpreter/server.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/com.h"
#include "platform/automation/com_unknown.h"
#include "platform/automation/error.h"
#include "platform/system/text_windows.h"

namespace vt::interpreter {
namespace {

namespace com = automation::com;
using system::windows::Narrow;
using system::windows::Widen;

std::atomic<long> server_locks{0};

HMODULE OwnModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(OwnModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) {
      throw automation::errors::FileAccess("cannot find the path of the Veltrano library");
    }
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string HexCode(HRESULT hr) { return automation::FormatHResult(static_cast<std::int32_t>(hr)); }

// The type library embedded in this file (resource 1).
ITypeLib* LoadOwnTypeLibrary() {
  ITypeLib* library = nullptr;
  const HRESULT hr = ::LoadTypeLibEx(OwnPath().c_str(), REGKIND_NONE, &library);
  if (FAILED(hr)) {
    throw automation::Error(
        hr, "the type library of " + Narrow(OwnPath()) + " cannot be loaded: " + HexCode(hr));
  }
  return library;
}

std::string TextOf(const BSTR* text) {
  return text && *text ? Narrow({*text, ::SysStringLen(*text)}) : std::string();
}

BSTR NewText(const std::string& text) {
  const std::wstring wide = Widen(text);
  BSTR out = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (!out) throw automation::Error(automation::errors::kOutOfMemory, "Out of memory");
  return out;
}

// By-reference parameters: an omitted optional one (a null pointer) reads as
// the type's empty value; a changed value goes back where it came from.
class TextArg {
 public:
  explicit TextArg(BSTR* where) : value(TextOf(where)), where_(where), before_(value) {}
  void WriteBack() {
    if (!where_ || value == before_) return;
    BSTR fresh = NewText(value);
    ::SysFreeString(*where_);
    *where_ = fresh;
  }

  std::string value;

 private:
  BSTR* where_;
  std::string before_;
};

std::int16_t IntegerOf(const short* where) { return where ? *where : std::int16_t{0}; }
void SetInteger(short* where, std::int16_t value) {
  if (where) *where = value;
}
bool BooleanOf(const VARIANT_BOOL* where) { return where && *where != VARIANT_FALSE; }
void SetBoolean(VARIANT_BOOL* where, bool value) {
  if (where) *where = value ? VARIANT_TRUE : VARIANT_FALSE;
}
automation::ObjectRef ObjectOf(IDispatch* const* where) {
  return where ? com::WrapDispatch(*where) : nullptr;
}

// A vtable call's body: what it throws becomes the caller's error info.
template <typename Body>
HRESULT Slot(Body&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    try {
      return com::ReturnError(automation::errors::FromCurrentException(), "VeltranoModule",
                              IID__VeltranoModule);
    } catch (...) {
      return E_FAIL;
    }
  }
}

// COM objects are destroyed by Release, never through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class ModuleObject final
    : public com::Unknown<ModuleObject, com::BridgedDispatch<ModuleObject, _VeltranoModule>,
                          ISupportErrorInfo> {
 public:
  ModuleObject(std::shared_ptr<VeltranoModule> module, ITypeInfo* type_info)
      : module_(std::move(module)), bridge_(module_, type_info) {}

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
    return IsEqualIID(riid, IID__VeltranoModule) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_GlobalLangNum(short* value) override {
    if (!value) return E_POINTER;
    return Slot([&] { *value = module_->get_GlobalLangNum(); });
  }
  HRESULT STDMETHODCALLTYPE put_GlobalLangNum(short value) override {
    return Slot([&] { module_->put_GlobalLangNum(value); });
  }
  HRESULT STDMETHODCALLTYPE get_GetObjectsPrefix(VARIANT_BOOL* value) override {
    if (!value) return E_POINTER;
    return Slot([&] { SetBoolean(value, module_->get_GetObjectsPrefix()); });
  }
  HRESULT STDMETHODCALLTYPE put_GetObjectsPrefix(VARIANT_BOOL value) override {
    return Slot([&] { module_->put_GetObjectsPrefix(value != VARIANT_FALSE); });
  }
  HRESULT STDMETHODCALLTYPE TranslatePicture(BSTR* strFixPicture, short* intLocalLanguageNumber,
                                             BSTR* strUserName) override {
    if (!strFixPicture) return E_POINTER;
    return Slot([&] {
      TextArg picture(strFixPicture), user(strUserName);
      std::int16_t language = IntegerOf(intLocalLanguageNumber);
      module_->TranslatePicture(picture.value, language, user.value);
      picture.WriteBack();
      SetInteger(intLocalLanguageNumber, language);
      user.WriteBack();
    });
  }
  HRESULT STDMETHODCALLTYPE TranslateString(BSTR* strString, IDispatch** objPictureOrForm,
                                            short* intLanguageNumber, VARIANT_BOOL* blnShowWarning,
                                            BSTR* result) override {
    if (!strString || !result) return E_POINTER;
    *result = nullptr;
    return Slot([&] {
      TextArg text(strString);
      std::int16_t language = IntegerOf(intLanguageNumber);
      bool warn = BooleanOf(blnShowWarning);
      const std::string translated =
          module_->TranslateString(text.value, ObjectOf(objPictureOrForm), language, warn);
      text.WriteBack();
      SetInteger(intLanguageNumber, language);
      SetBoolean(blnShowWarning, warn);
      *result = NewText(translated);
    });
  }
  HRESULT STDMETHODCALLTYPE TranslateAlarmsRecordset(
      IDispatch** rsToTranslate, short* intFieldToTranslate, IDispatch** objPictureOrForm,
      short* intRequestedLanguageNumber, short* intOriginalLanguageNumber,
      VARIANT_BOOL* blnRestoreOriginalStrings, IDispatch** result) override {
    if (!rsToTranslate || !intFieldToTranslate || !result) return E_POINTER;
    *result = nullptr;
    return Slot([&] {
      std::int16_t field = *intFieldToTranslate;
      std::int16_t requested = IntegerOf(intRequestedLanguageNumber);
      std::int16_t original = IntegerOf(intOriginalLanguageNumber);
      bool restore = BooleanOf(blnRestoreOriginalStrings);
      const automation::ObjectRef translated = module_->TranslateAlarmsRecordset(
          ObjectOf(rsToTranslate), field, ObjectOf(objPictureOrForm), requested, original, restore);
      *intFieldToTranslate = field;
      SetInteger(intRequestedLanguageNumber, requested);
      SetInteger(intOriginalLanguageNumber, original);
      SetBoolean(blnRestoreOriginalStrings, restore);
      *result = com::ExposeObject(translated);
    });
  }
  HRESULT STDMETHODCALLTYPE SetUserGlobalLang(BSTR* strUserName, VARIANT* result) override {
    if (!strUserName || !result) return E_POINTER;
    ::VariantInit(result);
    return Slot([&] {
      TextArg user(strUserName);
      const automation::Variant value = module_->SetUserGlobalLang(user.value);
      user.WriteBack();
      com::ToVariant(value, result);
    });
  }
  HRESULT STDMETHODCALLTYPE TranslateForm(IDispatch** objUserForm, short* intLocalLanguageNumber,
                                          BSTR* strUserName) override {
    if (!objUserForm) return E_POINTER;
    return Slot([&] {
      TextArg user(strUserName);
      std::int16_t language = IntegerOf(intLocalLanguageNumber);
      module_->TranslateForm(ObjectOf(objUserForm), language, user.value);
      SetInteger(intLocalLanguageNumber, language);
      user.WriteBack();
    });
  }
  HRESULT STDMETHODCALLTYPE TranslateAll(IDispatch** objUserForms) override {
    return Slot([&] { module_->TranslateAll(ObjectOf(objUserForms)); });
  }
  HRESULT STDMETHODCALLTYPE ShowStartupConfig() override {
    return Slot([&] { module_->ShowStartupConfig(); });
  }
  HRESULT STDMETHODCALLTYPE UpdateAndVerifyDictionary() override {
    return Slot([&] { module_->UpdateAndVerifyDictionary(); });
  }
  HRESULT STDMETHODCALLTYPE ChangeDevLang() override {
    return Slot([&] { module_->ChangeDevLang(); });
  }

 private:
  friend Unknown;
  friend com::BridgedDispatch<ModuleObject, _VeltranoModule>;
  ~ModuleObject() = default;
  void* Find(REFIID riid) {
    if (com::AnyOf(riid, {&IID_IUnknown, &IID_IDispatch, &IID__VeltranoModule})) {
      return static_cast<_VeltranoModule*>(this);
    }
    if (IsEqualIID(riid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
    return nullptr;
  }

  std::shared_ptr<VeltranoModule> module_;
  com::DispatchBridge bridge_;
};

class ModuleFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // One factory for the life of the library; LockServer keeps the library.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      ITypeLib* library = LoadOwnTypeLibrary();
      ITypeInfo* type_info = nullptr;
      const HRESULT found = library->GetTypeInfoOfGuid(IID__VeltranoModule, &type_info);
      library->Release();
      if (FAILED(found)) {
        throw automation::Error(found, "the type library of the Veltrano library has no " +
                                           std::string("_VeltranoModule: ") + HexCode(found));
      }
      auto* object = new ModuleObject(std::make_shared<VeltranoModule>(), type_info);
      type_info->Release();
      const HRESULT hr = object->QueryInterface(riid, out);
      object->Release();
      return hr;
    } catch (...) {
      const automation::Error error = automation::errors::FromCurrentException();
      com::ReturnError(error, "Veltrano.VeltranoModule", IID_IClassFactory);
      return error.number() == automation::errors::kOutOfMemory ? E_OUTOFMEMORY : E_FAIL;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      ++server_locks;
    } else {
      --server_locks;
    }
    return S_OK;
  }
};

#pragma GCC diagnostic pop

ModuleFactory& Factory() {
  static ModuleFactory factory;
  return factory;
}

constexpr int kBits = sizeof(void*) == 8 ? 64 : 32;

void SetValue(const std::wstring& key_path, const std::wstring& name, const std::wstring& value) {
  HKEY key = nullptr;
  LONG status = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, key_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status = ::RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    throw automation::Error(HRESULT_FROM_WIN32(static_cast<DWORD>(status)),
                            "cannot write the registry key HKEY_CLASSES_ROOT\\" + Narrow(key_path) +
                                ": Win32 error " + std::to_string(status));
  }
}

void Check(LONG status, const std::wstring& key_path) {
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    throw automation::Error(HRESULT_FROM_WIN32(static_cast<DWORD>(status)),
                            "cannot remove the registry key HKEY_CLASSES_ROOT\\" +
                                Narrow(key_path) + ": Win32 error " + std::to_string(status));
  }
}

// Removes the value, then the key and its parents as long as they are left
// empty: a key that another registration (the other bitness's type library)
// still uses stays.
void RemoveValue(std::wstring key_path, const std::wstring& name) {
  HKEY key = nullptr;
  LONG status = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key_path.c_str(), 0, KEY_SET_VALUE, &key);
  if (status == ERROR_SUCCESS) {
    status = ::RegDeleteValueW(key, name.empty() ? nullptr : name.c_str());
    ::RegCloseKey(key);
  }
  Check(status, key_path);
  for (;;) {
    DWORD subkeys = 0;
    DWORD values = 0;
    status = ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key_path.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (status != ERROR_SUCCESS) return Check(status, key_path);
    status = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    Check(status, key_path);
    if (subkeys != 0 || values != 0) return;
    Check(::RegDeleteKeyW(HKEY_CLASSES_ROOT, key_path.c_str()), key_path);
    const auto parent = key_path.find_last_of(L'\\');
    if (parent == std::wstring::npos) return;
    key_path.resize(parent);
  }
}

void Unregister() {
  const auto rows = ServerRegistration(kBits, "");
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    RemoveValue(Widen(row->key), Widen(row->name));
  }
}

void Register() {
  const std::string path = Narrow(OwnPath());
  for (const auto& row : ServerRegistration(kBits, path)) {
    SetValue(Widen(row.key), Widen(row.name), Widen(row.value));
  }
}

HRESULT Failed(HRESULT code, const char* source) noexcept {
  try {
    com::ReturnError(automation::errors::FromCurrentException(), source, GUID{});
  } catch (...) {
  }
  return code;
}

}  // namespace
}  // namespace vt::interpreter

using namespace vt;

STDAPI DllRegisterServer() {
  try {
    interpreter::Register();
    return S_OK;
  } catch (...) {
    const HRESULT code = interpreter::Failed(SELFREG_E_CLASS, "DllRegisterServer");
    // Half a registration is worse than none.
    try {
      interpreter::Unregister();
    } catch (...) {
    }
    return code;
  }
}

STDAPI DllUnregisterServer() {
  try {
    interpreter::Unregister();
    return S_OK;
  } catch (...) {
    return interpreter::Failed(SELFREG_E_CLASS, "DllUnregisterServer");
  }
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_VeltranoModule)) return CLASS_E_CLASSNOTAVAILABLE;
  return interpreter::Factory().QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() {
  return interpreter::LiveObjects().count() == 0 && interpreter::server_locks.load() == 0 &&
                 automation::com::LiveExposedObjects() == 0
             ? S_OK
             : S_FALSE;
}
