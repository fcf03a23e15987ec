// Our runtime on COM, under Wine: VARIANTs both ways, our objects called
// through raw IDispatch as a script engine calls them, and a real foreign
// server (Scripting.Dictionary of scrrun.dll) called through our wrapper.
#include "platform/automation/com.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/com_unknown.h"
#include "tests/support/com_server_object.h"

namespace vt::automation::com {
namespace {

class ComApartment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { ::CoUninitialize(); }
};
const auto* const kApartment = ::testing::AddGlobalTestEnvironment(new ComApartment);

struct Var {
  Var() { ::VariantInit(&v); }
  ~Var() { ::VariantClear(&v); }
  VARIANT v;
};

const Guid kUserForm = Guid::FromString("{04598FC8-866C-11CF-AB7C-00AA00C08FCF}");

// A picture object: Name read and write, Cut(ByRef s) keeps what stands
// before the first dot, Fail raises error 5, Id is read-only.
class Pump : public DispatchObject {
 public:
  Pump() {
    AddProperty(
        "Name", [this](std::span<Variant>) { return Variant(name_); },
        [this](std::span<Variant>, const Variant& v) { name_ = v.ToString(); });
    AddProperty("Id", [](std::span<Variant>) { return Variant(std::int16_t{7}); });
    AddMethod("Cut", [](std::span<Variant> args) {
      if (args.size() != 1) throw errors::InvalidCall("Cut takes one argument");
      const std::string s = args[0].ToString();
      args[0] = Variant(s.substr(0, s.find('.')));
      return Variant();
    });
    AddMethod("Fail", [](std::span<Variant>) -> Variant {
      throw Error(errors::kInvalidCall, "Invalid procedure call or argument: the valve is stuck");
    });
  }
  std::string TypeName() const override { return "Fix2DText"; }

 private:
  std::string name_ = "Pump 1";
};

class Form : public Pump {
 public:
  std::string TypeName() const override { return "UserForm"; }
  bool QueryInterface(const Guid& iid) const override {
    return iid == kUserForm || Pump::QueryInterface(iid);
  }
};

class Pumps : public DispatchObject {
 public:
  explicit Pumps(std::vector<Variant> items) : items_(std::move(items)) {}
  std::string TypeName() const override { return "Pumps"; }
  std::vector<Variant> Enumerate() override { return items_; }

 private:
  std::vector<Variant> items_;
};

struct Exposed {
  explicit Exposed(const ObjectRef& object) : dispatch(ExposeObject(object)) {}
  ~Exposed() { dispatch->Release(); }
  DISPID Id(const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    return id;
  }
  // rgvarg last first, as the caller lays it out.
  HRESULT Call(const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
               EXCEPINFO* info) {
    DISPID put = DISPID_PROPERTYPUT;
    const bool is_put = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{args.data(), is_put ? &put : nullptr, static_cast<UINT>(args.size()),
                      is_put ? 1u : 0u};
    return dispatch->Invoke(Id(name), IID_NULL, 0, flags, &params, result, info, nullptr);
  }
  IDispatch* dispatch;
};

std::string Text(BSTR b) { return b ? std::string(b, b + ::SysStringLen(b)) : std::string(); }

TEST(ComVariantTest, EveryTypeRoundTrips) {
  const struct {
    Variant value;
    VARTYPE vt;
  } cases[] = {
      {Variant(), VT_EMPTY},
      {Variant::Null(), VT_NULL},
      {Variant(true), VT_BOOL},
      {Variant(false), VT_BOOL},
      {Variant(std::int16_t{-32768}), VT_I2},
      {Variant(std::int32_t{70000}), VT_I4},
      {Variant(2.5), VT_R8},
      {Variant("Pompa \xC3\xA8 ferma \xF0\x9F\x94\xA5"), VT_BSTR},
      {Variant(std::string("a\0b", 3)), VT_BSTR},
      {Variant(""), VT_BSTR},
      {Variant(ObjectRef()), VT_DISPATCH},
  };
  for (const auto& c : cases) {
    Var v;
    ToVariant(c.value, &v.v);
    EXPECT_EQ(v.v.vt, c.vt) << TypeNameOf(c.value);
    EXPECT_EQ(FromVariant(v.v), c.value) << TypeNameOf(c.value);
  }
  Var t;
  ToVariant(Variant(true), &t.v);
  EXPECT_EQ(t.v.boolVal, VARIANT_TRUE);
}

TEST(ComVariantTest, OtherTypesAndReferencesRead) {
  short i2 = 12;
  BSTR text = ::SysAllocString(L"MAIN.GRF");
  VARIANT inner;
  ::VariantInit(&inner);
  inner.vt = VT_R8;
  inner.dblVal = 0.25;
  const struct {
    std::function<void(VARIANT&)> make;
    Variant expected;
  } cases[] = {
      {[](VARIANT& v) { v.vt = VT_UI1, v.bVal = 200; }, Variant(std::int16_t{200})},
      {[](VARIANT& v) { v.vt = VT_R4, v.fltVal = 1.5f; }, Variant(1.5)},
      {[](VARIANT& v) { v.vt = VT_I8, v.llVal = 5000000000LL; }, Variant(5e9)},
      {[](VARIANT& v) { v.vt = VT_ERROR, v.scode = DISP_E_PARAMNOTFOUND; }, Variant()},
      {[&](VARIANT& v) { v.vt = VT_BYREF | VT_I2, v.piVal = &i2; }, Variant(std::int16_t{12})},
      {[&](VARIANT& v) { v.vt = VT_BYREF | VT_BSTR, v.pbstrVal = &text; }, Variant("MAIN.GRF")},
      {[&](VARIANT& v) { v.vt = VT_BYREF | VT_VARIANT, v.pvarVal = &inner; }, Variant(0.25)},
  };
  for (const auto& c : cases) {
    VARIANT v;
    ::VariantInit(&v);
    c.make(v);
    EXPECT_EQ(FromVariant(v), c.expected) << TypeNameOf(c.expected);
  }
  ::SysFreeString(text);

  Var array;
  array.v.vt = VT_ARRAY | VT_VARIANT;
  SAFEARRAYBOUND bound{2, 0};
  array.v.parray = ::SafeArrayCreate(VT_VARIANT, 1, &bound);
  try {
    FromVariant(array.v);
    ADD_FAILURE() << "an array was taken";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kTypeMismatch);
    EXPECT_NE(e.description().find("0x200C"), std::string::npos) << e.description();
  }
}

TEST(ComVariantTest, WriteBackFollowsTheReference) {
  BSTR text = ::SysAllocString(L"MAIN.GRF");
  short i2 = 1;
  VARIANT inner;
  ::VariantInit(&inner);
  VARIANT by_text{}, by_i2{}, by_variant{}, by_value{};
  by_text.vt = VT_BYREF | VT_BSTR, by_text.pbstrVal = &text;
  by_i2.vt = VT_BYREF | VT_I2, by_i2.piVal = &i2;
  by_variant.vt = VT_BYREF | VT_VARIANT, by_variant.pvarVal = &inner;
  by_value.vt = VT_I2, by_value.iVal = 3;

  WriteBack(Variant("MAIN"), &by_text);
  WriteBack(Variant("7"), &by_i2);  // converted to the reference's type
  WriteBack(Variant(std::int32_t{5}), &by_variant);
  WriteBack(Variant("ignored"), &by_value);
  EXPECT_EQ(Text(text), "MAIN");
  EXPECT_EQ(i2, 7);
  EXPECT_EQ(inner.vt, VT_I4);
  EXPECT_EQ(inner.lVal, 5);
  EXPECT_EQ(by_value.vt, VT_I2);
  EXPECT_THROW(WriteBack(Variant("seven"), &by_i2), Error);
  EXPECT_EQ(i2, 7);
  ::SysFreeString(text);
}

TEST(ComDispatchTest, ExposedObjectAnswersByName) {
  Exposed pump(std::make_shared<Pump>());
  // A script variable (VT_BYREF|VT_VARIANT), a typed reference, a literal.
  Var variable;
  variable.v.vt = VT_BSTR, variable.v.bstrVal = ::SysAllocString(L"MAIN.GRF");
  BSTR typed = ::SysAllocString(L"PUMPS.GRF");
  VARIANT ref_variant{}, ref_typed{}, literal{};
  ref_variant.vt = VT_BYREF | VT_VARIANT, ref_variant.pvarVal = &variable.v;
  ref_typed.vt = VT_BYREF | VT_BSTR, ref_typed.pbstrVal = &typed;
  literal.vt = VT_BSTR, literal.bstrVal = ::SysAllocString(L"X.GRF");
  for (VARIANT arg : {ref_variant, ref_typed, literal}) {
    EXCEPINFO info{};
    EXPECT_EQ(pump.Call(L"cut", DISPATCH_METHOD, {arg}, nullptr, &info), S_OK);
  }
  EXPECT_EQ(Text(variable.v.bstrVal), "MAIN");
  EXPECT_EQ(Text(typed), "PUMPS");
  EXPECT_EQ(Text(literal.bstrVal), "X.GRF");
  ::SysFreeString(typed);
  ::SysFreeString(literal.bstrVal);

  VARIANT value{};
  value.vt = VT_BSTR, value.bstrVal = ::SysAllocString(L"Pump 2");
  EXCEPINFO info{};
  EXPECT_EQ(pump.Call(L"Name", DISPATCH_PROPERTYPUT, {value}, nullptr, &info), S_OK);
  ::SysFreeString(value.bstrVal);
  Var name;
  EXPECT_EQ(pump.Call(L"NAME", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &name.v, &info), S_OK);
  EXPECT_EQ(Text(name.v.bstrVal), "Pump 2");
}

// The name of a type info, which is released.
std::string NameOf(ITypeInfo* info) {
  BSTR name = nullptr;
  EXPECT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  info->Release();
  const std::string text = Text(name);
  ::SysFreeString(name);
  return text;
}

TEST(ComDispatchTest, ExposedObjectsNameTheirClassAndInterfaceApart) {
  struct Namer {
    explicit Namer(InterfaceNamer namer) { SetInterfaceNamer(namer); }
    ~Namer() { SetInterfaceNamer(nullptr); }
  };
  class TextBox : public Pump {
   public:
    std::string TypeName() const override { return "TextBox"; }
  };
  const struct {
    ObjectRef object;
    InterfaceNamer namer;
    const char* interface_name;
  } cases[] = {
      {std::make_shared<TextBox>(),
       [](std::string_view name) { return std::string(name == "TextBox" ? "IMdcText" : ""); },
       "IMdcText"},
      {std::make_shared<Pump>(), [](std::string_view) { return std::string(); }, "_Fix2DText"},
      {std::make_shared<TextBox>(), nullptr, "_TextBox"},
  };
  for (const auto& c : cases) {
    const Namer namer(c.namer);
    Exposed exposed(c.object);
    ITypeInfo* type = nullptr;
    ASSERT_EQ(exposed.dispatch->GetTypeInfo(0, 0, &type), S_OK);
    EXPECT_EQ(NameOf(type), c.interface_name);

    IProvideClassInfo* provider = nullptr;
    ASSERT_EQ(exposed.dispatch->QueryInterface(IID_IProvideClassInfo,
                                               reinterpret_cast<void**>(&provider)),
              S_OK);
    ITypeInfo* coclass = nullptr;
    ASSERT_EQ(provider->GetClassInfo(&coclass), S_OK);
    provider->Release();
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_EQ(attr->cImplTypes, 1);
    coclass->ReleaseTypeAttr(attr);
    INT flags = 0;
    EXPECT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &reference), S_OK);
    ITypeInfo* default_interface = nullptr;
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, &default_interface), S_OK);
    EXPECT_EQ(NameOf(default_interface), c.interface_name);
    EXPECT_EQ(NameOf(coclass), c.object->TypeName());
  }
}

// A foreign object shaped as components are: GetTypeInfo gives its default
// interface, IProvideClassInfo its class. An empty name: not offered.
class Component final : public Unknown<Component, IDispatch, IProvideClassInfo> {
 public:
  Component(std::wstring class_name, std::wstring interface_name)
      : class_(std::move(class_name)), interface_(std::move(interface_name)) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = interface_.empty() ? 0 : 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    return interface_.empty() ? E_NOTIMPL : Make(interface_, TKIND_DISPATCH, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
    return Make(class_, TKIND_COCLASS, info);
  }

 private:
  friend Unknown;
  ~Component() = default;
  void* Find(REFIID riid) {
    if (AnyOf(riid, {&IID_IUnknown, &IID_IDispatch})) return static_cast<IDispatch*>(this);
    if (IsEqualIID(riid, IID_IProvideClassInfo) && !class_.empty()) {
      return static_cast<IProvideClassInfo*>(this);
    }
    return nullptr;
  }
  static HRESULT Make(std::wstring name, TYPEKIND kind, ITypeInfo** info) {
    ICreateTypeLib2* library = nullptr;
    HRESULT hr = ::CreateTypeLib2(kBuiltSysKind, L"", &library);
    if (FAILED(hr)) return hr;
    ICreateTypeInfo* made = nullptr;
    hr = library->CreateTypeInfo(name.data(), kind, &made);
    if (SUCCEEDED(hr)) {
      hr = made->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(info));
      made->Release();
    }
    library->Release();
    return hr;
  }

  std::wstring class_;
  std::wstring interface_;
};

TEST(ComClientTest, ForeignObjectsAreNamedAsTheHostNamesThem) {
  const struct {
    const wchar_t* class_name;
    const wchar_t* interface_name;
    const char* type_name;
  } cases[] = {
      {L"TextBox", L"IMdcText", "TextBox"},  // the class, however the interface is named
      {L"Label", L"", "Label"},
      {L"", L"_Recordset", "Recordset"},  // a default interface named after its class
      {L"", L"__Hidden", "_Hidden"},      // one underscore only
      {L"", L"IMdcText", "IMdcText"},
      {L"", L"", "Object"},
  };
  for (const auto& c : cases) {
    auto* raw = new Component(c.class_name, c.interface_name);
    ObjectRef object = WrapDispatch(raw);
    raw->Release();
    EXPECT_EQ(object->TypeName(), c.type_name);
    EXPECT_EQ(TypeNameOf(object), c.type_name);
    // Error texts name the member under that name too.
    try {
      Call(object, "Rename", {});
      ADD_FAILURE() << "an unknown member was called";
    } catch (const Error& e) {
      EXPECT_NE(e.description().find(std::string(c.type_name) + ".Rename"), std::string::npos)
          << e.description();
    }
  }
}

TEST(ComDispatchTest, ErrorsReachTheCallerAsExceptions) {
  Exposed pump(std::make_shared<Pump>());
  VARIANT value{};
  value.vt = VT_I2, value.iVal = 9;
  const struct {
    const wchar_t* member;
    WORD flags;
    std::vector<VARIANT> args;
    HRESULT scode;
    const char* description;
  } cases[] = {
      {L"Fail", DISPATCH_METHOD, {}, static_cast<HRESULT>(0x800A0005), "the valve is stuck"},
      {L"NoSuchThing",
       DISPATCH_METHOD,
       {},
       static_cast<HRESULT>(0x800A01B6),
       "Fix2DText.NoSuchThing"},
      {L"Id", DISPATCH_PROPERTYPUT, {value}, static_cast<HRESULT>(0x800A017F), "Fix2DText.Id"},
  };
  for (const auto& c : cases) {
    EXCEPINFO info{};
    EXPECT_EQ(pump.Call(c.member, c.flags, c.args, nullptr, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, c.scode);
    const Error error = ErrorFromCall(DISP_E_EXCEPTION, &info, "Fix2DText");
    EXPECT_NE(error.description().find(c.description), std::string::npos) << error.description();
    EXPECT_EQ(error.number(), HRESULT_CODE(c.scode));
  }
}

TEST(ComDispatchTest, UserFormInterfaceOnlyOnForms) {
  Exposed form(std::make_shared<Form>());
  Exposed pump(std::make_shared<Pump>());
  const IID user_form = ToIid(kUserForm);
  IUnknown* answer = nullptr;
  ASSERT_EQ(form.dispatch->QueryInterface(user_form, reinterpret_cast<void**>(&answer)), S_OK);
  answer->Release();
  EXPECT_EQ(pump.dispatch->QueryInterface(user_form, reinterpret_cast<void**>(&answer)),
            E_NOINTERFACE);
  EXPECT_EQ(FromIid(user_form), kUserForm);
}

TEST(ComDispatchTest, CollectionsEnumerateAndObjectsComeBackThemselves) {
  ObjectRef first = std::make_shared<Pump>(), second = std::make_shared<Pump>();
  Exposed pumps(std::make_shared<Pumps>(std::vector<Variant>{Variant(first), Variant(second)}));
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  Var got;
  ASSERT_EQ(
      pumps.dispatch->Invoke(DISPID_NEWENUM, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                             &none, &got.v, nullptr, nullptr),
      S_OK);
  IEnumVARIANT* items = nullptr;
  ASSERT_EQ(got.v.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&items)),
            S_OK);
  VARIANT out[3];
  ULONG fetched = 0;
  EXPECT_EQ(items->Next(3, out, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(FromVariant(out[0]).ToObject(), first);
  EXPECT_EQ(FromVariant(out[1]).ToObject(), second);
  for (ULONG i = 0; i < fetched; ++i) ::VariantClear(&out[i]);
  items->Release();
}

// Scripting.Dictionary is a real COM server of the platform, reached only by
// name, as the library reaches the host's objects.
TEST(ComClientTest, ForeignServerCalledByName) {
  ObjectRef dictionary = vt::testing::CreateComServerObject(L"Scripting.Dictionary");
  ASSERT_NE(dictionary, nullptr);

  ObjectRef pump = std::make_shared<Pump>();
  Call(dictionary, "Add", {Variant("MAIN"), Variant(pump)});
  EXPECT_EQ(Get(dictionary, "Count").ToLong(), 1);
  // Our object went out as IDispatch and comes back as itself.
  EXPECT_EQ(Get(dictionary, "Item", {Variant("MAIN")}).ToObject(), pump);
  EXPECT_EQ(Enumerate(dictionary), std::vector<Variant>{Variant("MAIN")});
  std::vector<Variant> args{Variant("MAIN")};
  EXPECT_TRUE(Call(dictionary, "Exists", args).ToBoolean());

  try {
    Call(dictionary, "Add", {Variant("MAIN"), Variant(std::int16_t{2})});
    ADD_FAILURE() << "a key was added twice";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 457) << e.description();  // key already associated
  }
  try {
    Call(dictionary, "Rename", {});
    ADD_FAILURE() << "an unknown member was called";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kNoSuchMember);
    // Its class, not its default interface IDictionary.
    EXPECT_NE(e.description().find("Dictionary.Rename"), std::string::npos) << e.description();
    EXPECT_EQ(e.description().find("IDictionary"), std::string::npos) << e.description();
  }
  EXPECT_EQ(dictionary->TypeName(), "Dictionary");
  EXPECT_FALSE(dictionary->QueryInterface(kUserForm));
  // Handed back out, the wrapper gives the server's own IDispatch.
  IDispatch* again = ExposeObject(dictionary);
  EXPECT_EQ(WrapDispatch(again)->TypeName(), dictionary->TypeName());
  again->Release();
}

}  // namespace
}  // namespace vt::automation::com
