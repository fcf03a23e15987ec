// Our objects as IDispatch, their collections as IEnumVARIANT.
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/automation/com_internal.h"
#include "platform/automation/com_unknown.h"
#include "platform/base/ascii.h"
#include "platform/system/text_windows.h"

namespace vt::automation::com {
namespace {

// Our objects handed out and still referenced by someone: the module that
// carries this code must stay loaded while any lives (DllCanUnloadNow asks).
std::atomic<long> live_exposed{0};

// A counted reference on the module whose code implements an object, when
// that is not the module carrying this code, so that a server library unloaded
// while a script still holds one of the objects it returned cannot take that
// code away. The module carrying this code is never referenced from here: its
// last object would free it from inside its own code. It stays loaded through
// the count above instead, as its DllCanUnloadNow tells COM.
class ModuleReference {
 public:
  explicit ModuleReference(const void* address) {
    ++live_exposed;
    HMODULE own = nullptr;
    if (!::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&detail::Unwrap), &own)) {
      own = nullptr;
    }
    HMODULE target = nullptr;
    if (::GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(address), &target) &&
        target != own &&
        !::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, static_cast<LPCWSTR>(address),
                              &module_)) {
      module_ = nullptr;
    }
  }
  ~ModuleReference() {
    if (module_) ::FreeLibrary(module_);
    --live_exposed;
  }
  ModuleReference(const ModuleReference&) = delete;
  ModuleReference& operator=(const ModuleReference&) = delete;

 private:
  HMODULE module_ = nullptr;
};

const void* CodeOf(const Dispatch& object) { return &typeid(object); }

std::string TypeNameOrObject(const ObjectRef& object) noexcept {
  try {
    return object->TypeName();
  } catch (...) {
    return "Object";
  }
}

std::atomic<InterfaceNamer> interface_namer{nullptr};

std::string InterfaceNameOf(const std::string& class_name) {
  const InterfaceNamer namer = interface_namer.load();
  std::string name = namer ? namer(class_name) : std::string();
  return name.empty() ? "_" + class_name : name;
}

void ReleaseAll(std::initializer_list<IUnknown*> interfaces) {
  for (IUnknown* item : interfaces) {
    if (item) item->Release();
  }
}

// Type information as a component's type library holds it for the class of
// `object`, made afresh: the dispatch interface (its default one), or with
// `coclass` the class itself, whose default interface that one is. Clients
// asking for a type name (the host language's TypeName) read one of them.
HRESULT TypeInfoOf(const ObjectRef& object, bool coclass, ITypeInfo** info) noexcept {
  *info = nullptr;
  ICreateTypeLib2* library = nullptr;
  ICreateTypeInfo* dispatch = nullptr;
  ICreateTypeInfo* made = nullptr;
  ITypeInfo* dispatch_info = nullptr;
  HRESULT hr = S_OK;
  try {
    const std::string class_name = TypeNameOrObject(object);
    std::wstring interface_name = system::windows::Widen(InterfaceNameOf(class_name));
    std::wstring wide_class = system::windows::Widen(class_name);
    hr = ::CreateTypeLib2(kBuiltSysKind, L"", &library);
    if (SUCCEEDED(hr))
      hr = library->CreateTypeInfo(interface_name.data(), TKIND_DISPATCH, &dispatch);
    if (SUCCEEDED(hr)) {
      hr = dispatch->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&dispatch_info));
    }
    if (SUCCEEDED(hr) && coclass) {
      HREFTYPE reference = 0;
      hr = library->CreateTypeInfo(wide_class.data(), TKIND_COCLASS, &made);
      if (SUCCEEDED(hr)) hr = made->AddRefTypeInfo(dispatch_info, &reference);
      if (SUCCEEDED(hr)) hr = made->AddImplType(0, reference);
      if (SUCCEEDED(hr)) hr = made->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT);
      if (SUCCEEDED(hr)) hr = made->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(info));
    } else if (SUCCEEDED(hr)) {
      *info = dispatch_info;
      dispatch_info = nullptr;
    }
  } catch (...) {
    hr = E_OUTOFMEMORY;
  }
  ReleaseAll({dispatch_info, made, dispatch, library});
  return hr;
}

// COM objects are destroyed by Release, never through a base pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

class Enumerator final : public Unknown<Enumerator, IEnumVARIANT> {
 public:
  Enumerator(ObjectRef collection, std::shared_ptr<const std::vector<Variant>> items,
             std::size_t next)
      : module_(CodeOf(*collection)),
        collection_(std::move(collection)),
        items_(std::move(items)),
        next_(next) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    ULONG done = 0;
    try {
      for (; done < count && next_ < items_->size(); ++done, ++next_) {
        ToVariant((*items_)[next_], &out[done]);
      }
    } catch (...) {
      for (ULONG i = 0; i < done; ++i) ::VariantClear(&out[i]);
      if (fetched) *fetched = 0;
      return E_OUTOFMEMORY;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = items_->size() - next_;
    next_ += std::min<std::size_t>(left, count);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) Enumerator(collection_, items_, next_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  friend Unknown;
  ~Enumerator() = default;
  void* Find(REFIID riid) {
    return AnyOf(riid, {&IID_IUnknown, &IID_IEnumVARIANT}) ? static_cast<IEnumVARIANT*>(this)
                                                           : nullptr;
  }

  ModuleReference module_;  // first in, last out
  ObjectRef collection_;
  std::shared_ptr<const std::vector<Variant>> items_;
  std::size_t next_;
};

class ObjectDispatch final
    : public Unknown<ObjectDispatch, BridgedDispatch<ObjectDispatch, IDispatch>,
                     IProvideClassInfo> {
 public:
  explicit ObjectDispatch(ObjectRef object)
      : module_(CodeOf(*object)), bridge_(std::move(object), nullptr) {}

  const ObjectRef& object() const { return bridge_.object(); }

  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
    if (!info) return E_POINTER;
    return TypeInfoOf(object(), true, info);
  }

 private:
  friend Unknown;
  friend BridgedDispatch<ObjectDispatch, IDispatch>;
  ~ObjectDispatch() = default;
  void* Find(REFIID riid) {
    if (IsEqualIID(riid, IID_IProvideClassInfo)) return static_cast<IProvideClassInfo*>(this);
    bool answers = AnyOf(riid, {&IID_IUnknown, &IID_IDispatch, &detail::ExposedObjectIid()});
    if (!answers) {
      try {
        // Forms answer the UserForm interface id, through this same IDispatch.
        answers = object()->QueryInterface(FromIid(riid));
      } catch (...) {
        answers = false;
      }
    }
    return answers ? static_cast<IDispatch*>(this) : nullptr;
  }

  ModuleReference module_;  // first in, last out: the object goes before its code
  DispatchBridge bridge_;
};

#pragma GCC diagnostic pop

}  // namespace

DispatchBridge::DispatchBridge(ObjectRef object, ITypeInfo* type_info)
    : object_(std::move(object)), type_info_(type_info) {
  if (type_info_) type_info_->AddRef();
}

DispatchBridge::~DispatchBridge() {
  if (type_info_) type_info_->Release();
}

HRESULT DispatchBridge::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT DispatchBridge::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (type_info_) {
    type_info_->AddRef();
    *info = type_info_;
    return S_OK;
  }
  return TypeInfoOf(object_, false, info);
}

HRESULT DispatchBridge::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids) return E_POINTER;
  if (count == 0) return S_OK;
  if (type_info_) return type_info_->GetIDsOfNames(names, count, ids);
  // Arguments by name are not something our members take.
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  try {
    const std::string name = system::windows::Narrow(names[0]);
    const std::string key = base::ToAsciiLower(name);
    if (key == "_newenum") {
      ids[0] = DISPID_NEWENUM;
    } else {
      std::size_t i = 0;
      while (i < names_.size() && base::ToAsciiLower(names_[i]) != key) ++i;
      if (i == names_.size()) names_.push_back(name);
      ids[0] = static_cast<DISPID>(i + 1);
    }
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

std::string DispatchBridge::NameOf(DISPID id) {
  if (type_info_) {
    BSTR name = nullptr;
    UINT found = 0;
    if (FAILED(type_info_->GetNames(id, &name, 1, &found)) || found != 1) return {};
    std::string out = system::windows::Narrow({name, ::SysStringLen(name)});
    ::SysFreeString(name);
    return out;
  }
  if (id == DISPID_VALUE) return "Item";
  if (id < 1 || static_cast<std::size_t>(id) > names_.size()) return {};
  return names_[static_cast<std::size_t>(id) - 1];
}

HRESULT DispatchBridge::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* info, UINT* arg_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_POINTER;
  if (result) ::VariantInit(result);
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put ? (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
          : params->cNamedArgs != 0) {
    return DISP_E_NONAMEDARGS;
  }
  const UINT count = params->cArgs;
  // The arguments come last first.
  auto slot = [&](std::size_t i) { return &params->rgvarg[count - 1 - i]; };
  try {
    std::vector<Variant> args;
    args.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      try {
        args.push_back(FromVariant(*slot(i)));
      } catch (...) {
        if (arg_error) *arg_error = static_cast<UINT>(count - 1 - i);
        throw;
      }
    }
    if (id == DISPID_NEWENUM && !put) {
      auto items = std::make_shared<const std::vector<Variant>>(Enumerate(object_));
      if (result) {
        result->vt = VT_UNKNOWN;
        result->punkVal = new Enumerator(object_, std::move(items), 0);
      }
      return S_OK;
    }
    const std::string member = NameOf(id);
    if (member.empty()) return DISP_E_MEMBERNOTFOUND;
    const std::vector<Variant> before = args;
    const CallKind kind = put                         ? CallKind::PropertyPut
                          : (flags & DISPATCH_METHOD) ? CallKind::Method
                                                      : CallKind::PropertyGet;
    const Variant value = errors::Guarded([&] {
      if (!object_) throw errors::ObjectNotSet();
      return object_->Invoke(member, kind, args);
    });
    for (std::size_t i = 0; i < count; ++i) {
      if (!(args[i] == before[i])) WriteBack(args[i], slot(i));
    }
    if (result) ToVariant(value, result);
    return S_OK;
  } catch (...) {
    FillExcepInfo(errors::FromCurrentException(), TypeNameOrObject(object_), info);
    return DISP_E_EXCEPTION;
  }
}

IDispatch* ExposeObject(const ObjectRef& object) {
  if (!object) return nullptr;
  if (IDispatch* foreign = detail::ForeignDispatch(object)) {
    foreign->AddRef();
    return foreign;
  }
  auto* exposed = new (std::nothrow) ObjectDispatch(object);
  if (!exposed) throw Error(errors::kOutOfMemory, "Out of memory");
  return exposed;
}

void SetInterfaceNamer(InterfaceNamer namer) { interface_namer.store(namer); }

std::size_t LiveExposedObjects() { return static_cast<std::size_t>(live_exposed.load()); }

namespace detail {

const IID& ExposedObjectIid() {
  static const IID iid = [] {
    IID made = {0x5B789802, 0x435E, 0x489F, {}};
    const auto where = reinterpret_cast<std::uintptr_t>(&ExposedObjectIid);
    for (std::size_t i = 0; i < sizeof made.Data4; ++i) {
      made.Data4[i] =
          static_cast<unsigned char>((static_cast<std::uint64_t>(where) >> (8 * i)) & 0xFF);
    }
    return made;
  }();
  return iid;
}

ObjectRef Unwrap(IDispatch* dispatch) {
  void* ours = nullptr;
  if (!dispatch || FAILED(dispatch->QueryInterface(ExposedObjectIid(), &ours))) return nullptr;
  auto* exposed = static_cast<ObjectDispatch*>(static_cast<IDispatch*>(ours));
  ObjectRef object = exposed->object();
  exposed->Release();
  return object;
}

}  // namespace detail
}  // namespace vt::automation::com
