// Objects by class name through COM, as the host's scripting finds them:
// CreateObject and GetObject("", class) ask COM for an instance, GetObject
// without a path asks its running-object table. A program that hands out its
// one object (the host's workspace) registers the class for the user and its
// class object while it runs, so any process finds it the same way.
// clang-format off
#include "platform/system/text_windows.h"
#include <objbase.h>
#include <oleauto.h>
// clang-format on

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/automation/com.h"
#include "platform/automation/com_unknown.h"
#include "platform/automation/runtime.h"
#include "platform/automation/server.h"
#include "platform/base/ascii.h"

namespace vt::automation {
namespace {

using system::windows::Widen;

std::string Key(std::string_view name) { return base::ToAsciiLower(name); }

std::string Reason(const char* what, HRESULT hr) {
  return std::string(what) + " failed with " + FormatHResult(hr);
}

CLSID ClassIdOf(std::string_view progid) {
  CLSID clsid{};
  const HRESULT hr = ::CLSIDFromProgID(Widen(progid).c_str(), &clsid);
  if (FAILED(hr)) {
    throw errors::CannotCreateObject(
        progid, "no class of that name is registered (" + FormatHResult(hr) + ")");
  }
  return clsid;
}

ObjectRef Wrapped(IUnknown* unknown, std::string_view progid) {
  IDispatch* dispatch = nullptr;
  const HRESULT hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  unknown->Release();
  if (FAILED(hr) || dispatch == nullptr) {
    throw errors::CannotCreateObject(progid,
                                     "the object has no IDispatch (" + FormatHResult(hr) + ")");
  }
  ObjectRef object = com::WrapDispatch(dispatch);
  dispatch->Release();
  return object;
}

// COM's interfaces have no virtual destructor; Release deletes the object.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Hands out the one object it was given, to this process and to others.
class SingleObjectFactory final : public com::Unknown<SingleObjectFactory, IClassFactory> {
 public:
  explicit SingleObjectFactory(ObjectRef object) : object_(std::move(object)) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      IDispatch* dispatch = com::ExposeObject(object_);
      const HRESULT hr = dispatch->QueryInterface(riid, out);
      dispatch->Release();
      return hr;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  friend Unknown;
  ~SingleObjectFactory() = default;
  void* Find(REFIID riid) {
    return com::AnyOf(riid, {&IID_IUnknown, &IID_IClassFactory}) ? static_cast<IClassFactory*>(this)
                                                                 : nullptr;
  }

  ObjectRef object_;
};

#pragma GCC diagnostic pop

struct Registration {
  DWORD class_cookie = 0;
};

struct Registrations {
  std::mutex mutex;
  std::map<std::string, Registration> classes;
};

// Never destroyed: a registration left at exit is COM's to drop.
Registrations& Table() {
  static auto* table = new Registrations;
  return *table;
}

// The user's classes (HKEY_CURRENT_USER\Software\Classes), which the classes
// root shows over the machine's; and the classes root itself, for Wine, whose
// COM reads the machine's classes alone.
struct ClassesRoot {
  HKEY key;
  const wchar_t* prefix;
  const char* name;
};
const ClassesRoot kUserClasses{HKEY_CURRENT_USER, L"Software\\Classes\\",
                               "HKEY_CURRENT_USER\\Software\\Classes\\"};
const ClassesRoot kClassesRoot{HKEY_CLASSES_ROOT, L"", "HKEY_CLASSES_ROOT\\"};

void SetValue(const ClassesRoot& root, const std::wstring& sub, const std::wstring& value) {
  const std::wstring key = root.prefix + sub;
  HKEY handle = nullptr;
  LSTATUS status = ::RegCreateKeyExW(root.key, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                     &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    status =
        ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
  }
  if (status != ERROR_SUCCESS) {
    const HRESULT hr = HRESULT_FROM_WIN32(static_cast<DWORD>(status));
    throw Error(hr, "cannot write the registry key " + std::string(root.name) +
                        system::windows::Narrow(sub) + ": " + FormatHResult(hr));
  }
}

void DeleteTree(const ClassesRoot& root, const std::wstring& sub) {
  const std::wstring key = root.prefix + sub;
  const LSTATUS status = ::RegDeleteTreeW(root.key, key.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    const HRESULT hr = HRESULT_FROM_WIN32(static_cast<DWORD>(status));
    throw Error(hr, "cannot remove the registry key " + std::string(root.name) +
                        system::windows::Narrow(sub) + ": " + FormatHResult(hr));
  }
}

std::wstring OwnProgram() {
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path;
}

// The class: ProgID -> class id -> LocalServer32, this program.
void WriteClassKeys(const ClassesRoot& root, std::string_view class_name, const Guid& clsid,
                    bool server) {
  const std::wstring progid = Widen(class_name);
  const std::wstring id = Widen(clsid.ToString());
  SetValue(root, progid, progid);
  SetValue(root, progid + L"\\CLSID", id);
  SetValue(root, L"CLSID\\" + id, progid);
  SetValue(root, L"CLSID\\" + id + L"\\ProgID", progid);
  if (server) SetValue(root, L"CLSID\\" + id + L"\\LocalServer32", L"\"" + OwnProgram() + L"\"");
}

bool ComFindsClass(std::string_view class_name, const Guid& clsid) {
  CLSID found{};
  return SUCCEEDED(::CLSIDFromProgID(Widen(class_name).c_str(), &found)) &&
         com::FromIid(found) == clsid;
}

// The class id that the classes root gives the ProgID, as text; empty for none.
std::wstring RootClassId(const std::wstring& progid) {
  wchar_t value[64] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_CLASSES_ROOT, (progid + L"\\CLSID").c_str(), nullptr, RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS) {
    return {};
  }
  return value;
}

}  // namespace

ObjectRef CreateObject(std::string_view progid) {
  const CLSID clsid = ClassIdOf(progid);
  IUnknown* unknown = nullptr;
  const HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                        reinterpret_cast<void**>(&unknown));
  if (FAILED(hr) || unknown == nullptr) {
    throw errors::CannotCreateObject(progid, Reason("CoCreateInstance", hr));
  }
  return Wrapped(unknown, progid);
}

ObjectRef GetObject(std::string_view path_name, std::string_view class_name) {
  if (!path_name.empty()) {
    throw errors::InvalidCall("GetObject cannot open the file \"" + std::string(path_name) +
                              "\": only objects of a class are found by its name");
  }
  return CreateObject(class_name);
}

ObjectRef GetActiveObject(std::string_view class_name) {
  const CLSID clsid = ClassIdOf(class_name);
  IUnknown* unknown = nullptr;
  const HRESULT hr = ::GetActiveObject(clsid, nullptr, &unknown);
  if (FAILED(hr) || unknown == nullptr) {
    throw errors::CannotCreateObject(
        class_name, "no running program has registered it (" + FormatHResult(hr) + ")");
  }
  return Wrapped(unknown, class_name);
}

void RegisterActiveObject(std::string_view class_name, ObjectRef object, const Guid& clsid,
                          bool server) {
  if (!object) throw errors::ObjectNotSet();
  if (clsid == Guid{}) {
    throw errors::InvalidCall("the class \"" + std::string(class_name) +
                              "\" needs a class id to be registered with COM");
  }
  RevokeActiveObject(class_name);
  WriteClassKeys(kUserClasses, class_name, clsid, server);
  if (!ComFindsClass(class_name, clsid)) WriteClassKeys(kClassesRoot, class_name, clsid, server);
  const CLSID id = com::ToIid(clsid);
  Registration registration;
  auto* factory = new SingleObjectFactory(object);
  HRESULT hr = ::CoRegisterClassObject(id, factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &registration.class_cookie);
  factory->Release();
  if (FAILED(hr)) {
    throw Error(hr, "the class \"" + std::string(class_name) +
                        "\" cannot be registered: " + Reason("CoRegisterClassObject", hr));
  }
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  table.classes[Key(class_name)] = registration;
}

void RevokeActiveObject(std::string_view class_name) {
  Registration registration;
  {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.classes.find(Key(class_name));
    if (it == table.classes.end()) return;
    registration = it->second;
    table.classes.erase(it);
  }
  // Outside the lock: releasing the object may call back.
  ::CoRevokeClassObject(registration.class_cookie);
}

void UnregisterActiveClass(std::string_view class_name, const Guid& clsid) {
  const std::wstring progid = Widen(class_name);
  const std::wstring id = Widen(clsid.ToString());
  DeleteTree(kUserClasses, progid);
  DeleteTree(kUserClasses, L"CLSID\\" + id);
  // What RegisterActiveObject wrote to the classes root for Wine; a ProgID
  // there that names another class is another program's.
  if (RootClassId(progid) == id) DeleteTree(kClassesRoot, progid);
  DeleteTree(kClassesRoot, L"CLSID\\" + id);
}

}  // namespace vt::automation
