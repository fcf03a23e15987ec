// Foreign objects (another program's, the platform's) called through IDispatch.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/com_internal.h"
#include "platform/base/ascii.h"
#include "platform/system/text_windows.h"

namespace vt::automation::com {
namespace {

// Frees the VARIANTs of one call however it ends.
struct Variants {
  explicit Variants(std::size_t n) : items(n) {
    for (VARIANT& v : items) ::VariantInit(&v);
  }
  ~Variants() {
    for (VARIANT& v : items) ::VariantClear(&v);
  }
  Variants(const Variants&) = delete;
  Variants& operator=(const Variants&) = delete;
  std::vector<VARIANT> items;
};

class ComObject final : public Dispatch {
 public:
  explicit ComObject(IDispatch* dispatch) : dispatch_(dispatch) { dispatch_->AddRef(); }
  ~ComObject() override { dispatch_->Release(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  IDispatch* dispatch() const { return dispatch_; }

  // The class name, as the host language's TypeName reports it (see
  // ReadTypeName).
  std::string TypeName() const override {
    if (!type_name_) type_name_ = ReadTypeName();
    return *type_name_;
  }

  Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override {
    const std::string where = TypeName() + "." + std::string(member);
    const DISPID id = IdOf(member, where);
    const bool put = kind == CallKind::PropertyPut;
    if (put && args.empty()) throw errors::InvalidCall("no value to assign to " + where);

    const std::size_t n = args.size();
    Variants values(n);
    Variants originals(n);
    for (std::size_t i = 0; i < n; ++i) {
      ToVariant(args[i], &values.items[i]);
      if (FAILED(::VariantCopy(&originals.items[i], &values.items[i]))) {
        throw Error(errors::kOutOfMemory, "Out of memory");
      }
    }
    // Passed last first; every argument by reference as the host languages
    // pass variables, the value of an assignment by value.
    std::vector<VARIANT> passed(n);
    for (std::size_t i = 0; i < n; ++i) {
      VARIANT& slot = passed[n - 1 - i];
      if (put && i == n - 1) {
        slot = values.items[i];
      } else {
        ::VariantInit(&slot);
        slot.vt = VT_BYREF | VT_VARIANT;
        slot.pvarVal = &values.items[i];
      }
    }
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{passed.data(), put ? &named : nullptr, static_cast<UINT>(n), put ? 1u : 0u};
    Variants result(1);
    EXCEPINFO info{};
    UINT arg_error = 0;
    const WORD flags = put ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    const HRESULT hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                         put ? nullptr : &result.items[0], &info, &arg_error);
    if (FAILED(hr)) throw ErrorFromCall(hr, &info, where);
    for (std::size_t i = 0; i + (put ? 1 : 0) < n; ++i) {
      if (!SameValue(values.items[i], originals.items[i])) args[i] = FromVariant(values.items[i]);
    }
    return FromVariant(result.items[0]);
  }

  bool QueryInterface(const Guid& iid) const override {
    IUnknown* answer = nullptr;
    if (FAILED(dispatch_->QueryInterface(ToIid(iid), reinterpret_cast<void**>(&answer)))) {
      return false;
    }
    answer->Release();
    return true;
  }

  std::vector<Variant> Enumerate() override {
    const std::string where = TypeName() + "._NewEnum";
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Variants result(1);
    EXCEPINFO info{};
    const HRESULT hr = dispatch_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                         DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none,
                                         &result.items[0], &info, nullptr);
    if (hr == DISP_E_MEMBERNOTFOUND) throw errors::NoSuchMember(TypeName(), "_NewEnum");
    if (FAILED(hr)) throw ErrorFromCall(hr, &info, where);
    const VARIANT& got = result.items[0];
    IUnknown* unknown = got.vt == VT_UNKNOWN    ? got.punkVal
                        : got.vt == VT_DISPATCH ? got.pdispVal
                                                : nullptr;
    IEnumVARIANT* items = nullptr;
    if (!unknown ||
        FAILED(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)))) {
      throw Error(errors::kTypeMismatch, "Type mismatch: " + where + " gave no enumerator");
    }
    std::vector<Variant> out;
    try {
      for (;;) {
        Variants item(1);
        ULONG fetched = 0;
        if (items->Next(1, &item.items[0], &fetched) != S_OK || fetched != 1) break;
        out.push_back(FromVariant(item.items[0]));
      }
    } catch (...) {
      items->Release();
      throw;
    }
    items->Release();
    return out;
  }

 private:
  // Components name their default interface apart from their class (the
  // forms package's TextBox answers IMdcText from GetTypeInfo), and say the
  // class through IProvideClassInfo. Without it, the interface is taken for
  // the class less one leading underscore (_Recordset); without either,
  // "Object".
  std::string ReadTypeName() const {
    IProvideClassInfo* provider = nullptr;
    if (SUCCEEDED(dispatch_->QueryInterface(IID_IProvideClassInfo,
                                            reinterpret_cast<void**>(&provider))) &&
        provider) {
      ITypeInfo* info = nullptr;
      const HRESULT hr = provider->GetClassInfo(&info);
      provider->Release();
      if (SUCCEEDED(hr) && info) {
        if (std::string name = NameOf(info); !name.empty()) return name;
      }
    }
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info) {
      std::string name = NameOf(info);
      if (name.size() > 1 && name.front() == '_') name.erase(0, 1);
      if (!name.empty()) return name;
    }
    return "Object";
  }

  // The type's own name; releases `info`.
  static std::string NameOf(ITypeInfo* info) {
    BSTR name = nullptr;
    const HRESULT hr = info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
    info->Release();
    if (FAILED(hr) || !name) return {};
    std::string text = system::windows::Narrow({name, ::SysStringLen(name)});
    ::SysFreeString(name);
    return text;
  }

  DISPID IdOf(std::string_view member, const std::string& where) {
    const std::string key = base::ToAsciiLower(member);
    if (auto it = ids_.find(key); it != ids_.end()) return it->second;
    std::wstring name = system::windows::Widen(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
      if (hr == DISP_E_UNKNOWNNAME || hr == DISP_E_MEMBERNOTFOUND) {
        throw errors::NoSuchMember(TypeName(), member);
      }
      throw ErrorFromCall(hr, nullptr, where);
    }
    ids_.emplace(key, id);
    return id;
  }

  IDispatch* dispatch_;
  mutable std::optional<std::string> type_name_;
  std::map<std::string, DISPID, std::less<>> ids_;
};

}  // namespace

ObjectRef WrapDispatch(IDispatch* dispatch) {
  if (!dispatch) return nullptr;
  if (ObjectRef ours = detail::Unwrap(dispatch)) return ours;
  return std::make_shared<ComObject>(dispatch);
}

namespace detail {

IDispatch* ForeignDispatch(const ObjectRef& object) {
  const auto* foreign = dynamic_cast<const ComObject*>(object.get());
  return foreign ? foreign->dispatch() : nullptr;
}

}  // namespace detail
}  // namespace vt::automation::com
