// Veltrano.dll as COM loads it (LoadLibrary, DllGetClassObject), under Wine:
// the embedded type library and its slot order, the object reached by slot
// and by name alike, errors as DISP_E_EXCEPTION, DllCanUnloadNow.
// clang-format off
#include <windows.h>
#include <oaidl.h>
// clang-format on

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/automation/com.h"
#include "tests/interpreter/dual_module.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace vt::interpreter {
namespace {

namespace com = automation::com;

const CLSID kClsid =
    com::ToIid(automation::Guid::FromString("{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}"));
const IID kIid = com::ToIid(automation::Guid::FromString("{4EBE1143-1005-4961-B42D-4E3211D98919}"));

std::wstring LibraryPath() {
  const std::string path = VT_SERVER_LIBRARY;
  return std::wstring(path.begin(), path.end());
}

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    library_ = ::LoadLibraryW(LibraryPath().c_str());
    ASSERT_NE(library_, nullptr) << VT_SERVER_LIBRARY;
    get_class_object_ = reinterpret_cast<decltype(get_class_object_)>(
        reinterpret_cast<void*>(::GetProcAddress(library_, "DllGetClassObject")));
    can_unload_now_ = reinterpret_cast<decltype(can_unload_now_)>(
        reinterpret_cast<void*>(::GetProcAddress(library_, "DllCanUnloadNow")));
    ASSERT_TRUE(get_class_object_ && can_unload_now_);
    ASSERT_EQ(get_class_object_(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory_)),
              S_OK);
  }
  void TearDown() override {
    if (library_) ::FreeLibrary(library_);
    ::CoUninitialize();
  }

  IDispatch* Create() {
    IDispatch* object = nullptr;
    EXPECT_EQ(factory_->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
  }

  HMODULE library_ = nullptr;
  HRESULT(STDAPICALLTYPE* get_class_object_)(REFCLSID, REFIID, void**) = nullptr;
  HRESULT(STDAPICALLTYPE* can_unload_now_)() = nullptr;
  IClassFactory* factory_ = nullptr;
  // The texts of the boxes the library showed. Its own copy of the message-box
  // code configures itself from the environment, as in any host, and writes
  // them to the transcript named there.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const std::string& line : testing::ReadLines(dir_ / "transcript.jsonl")) {
      texts.push_back(nlohmann::json::parse(line).at("text").get<std::string>());
    }
    return texts;
  }

  testing::TempDir dir_;
  testing::ScopedEnvVar batch_{"VELTRANO_BATCH", "1"};
  testing::ScopedEnvVar transcript_{"VELTRANO_TRANSCRIPT", (dir_ / "transcript.jsonl").string()};
};

TEST_F(ServerTest, TypeLibraryHasTheMembersInSlotOrder) {
  ITypeLib* library = nullptr;
  ASSERT_EQ(::LoadTypeLibEx(LibraryPath().c_str(), REGKIND_NONE, &library), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_STREQ(name, L"Veltrano");
  ::SysFreeString(name);
  ITypeInfo* dispatch = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(kIid, &dispatch), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(dispatch->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
  dispatch->ReleaseTypeAttr(attr);
  // A dual interface's vtable half.
  HREFTYPE vtable = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable), S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(dispatch->GetRefTypeInfo(vtable, &info), S_OK);
  dispatch->Release();
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  const struct {
    const wchar_t* name;
    INVOKEKIND kind;
  } slots[] = {
      {L"GlobalLangNum", INVOKE_PROPERTYGET},
      {L"GlobalLangNum", INVOKE_PROPERTYPUT},
      {L"GetObjectsPrefix", INVOKE_PROPERTYGET},
      {L"GetObjectsPrefix", INVOKE_PROPERTYPUT},
      {L"TranslatePicture", INVOKE_FUNC},
      {L"TranslateString", INVOKE_FUNC},
      {L"TranslateAlarmsRecordset", INVOKE_FUNC},
      {L"SetUserGlobalLang", INVOKE_FUNC},
      {L"TranslateForm", INVOKE_FUNC},
      {L"TranslateAll", INVOKE_FUNC},
      {L"ShowStartupConfig", INVOKE_FUNC},
      {L"UpdateAndVerifyDictionary", INVOKE_FUNC},
      {L"ChangeDevLang", INVOKE_FUNC},
  };
  ASSERT_EQ(attr->cFuncs, std::size(slots));
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < std::size(slots); ++i) {
    FUNCDESC* func = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &func), S_OK) << i;
    UINT found = 0;
    ASSERT_EQ(info->GetNames(func->memid, &name, 1, &found), S_OK);
    EXPECT_STREQ(name, slots[i].name) << i;
    ::SysFreeString(name);
    EXPECT_EQ(func->invkind, slots[i].kind) << i;
    EXPECT_EQ(func->oVft, static_cast<SHORT>((7 + i) * sizeof(void*))) << i;
    info->ReleaseFuncDesc(func);
  }
  info->Release();
  library->Release();
}

TEST_F(ServerTest, BySlotAndByNameReachTheSameObject) {
  IDispatch* object = Create();
  ASSERT_NE(object, nullptr);
  // Created outside FIX.exe: the host check's box, from the real process list.
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0],
            "Veltrano can be referenced only by iFix !\r\nNo translation will be executed...");

  DualModule* dual = nullptr;
  ASSERT_EQ(object->QueryInterface(kIid, reinterpret_cast<void**>(&dual)), S_OK);
  EXPECT_EQ(dual->put_GlobalLangNum(3), S_OK);

  LPOLESTR names[] = {const_cast<LPOLESTR>(L"globallangnum")};
  DISPID id = 0;
  ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  EXPECT_EQ(id, 1);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  ::VariantInit(&result);
  ASSERT_EQ(object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_I2);
  EXPECT_EQ(result.iVal, 3);

  // Outside the host TranslateString gives its argument back, by slot...
  BSTR text = ::SysAllocString(L"  Start  ");
  BSTR translated = nullptr;
  ASSERT_EQ(dual->TranslateString(&text, nullptr, nullptr, nullptr, &translated), S_OK);
  EXPECT_STREQ(translated, L"  Start  ");
  ::SysFreeString(translated);
  // ...and by name, with the argument as a script variable passes it.
  VARIANT variable;
  ::VariantInit(&variable);
  variable.vt = VT_BSTR, variable.bstrVal = text;
  VARIANT arg;
  arg.vt = VT_BYREF | VT_VARIANT, arg.pvarVal = &variable;
  DISPPARAMS one{&arg, nullptr, 1, 0};
  names[0] = const_cast<LPOLESTR>(L"TranslateString");
  ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  ASSERT_EQ(object->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &one, &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_BSTR);
  EXPECT_STREQ(result.bstrVal, L"  Start  ");
  ::VariantClear(&result);
  ::VariantClear(&variable);

  EXPECT_EQ(Boxes().size(), 1u);  // the guard shows nothing
  dual->Release();
  object->Release();
}

TEST_F(ServerTest, DispatchErrorsCarryNumberAndDescription) {
  IDispatch* object = Create();
  ASSERT_NE(object, nullptr);
  VARIANT many;
  ::VariantInit(&many);
  many.vt = VT_BSTR, many.bstrVal = ::SysAllocString(L"many");
  VARIANT three[3];
  for (VARIANT& v : three) v.vt = VT_I2, v.iVal = 1;
  const struct {
    DISPID id;
    WORD flags;
    VARIANT* args;
    UINT count;
    HRESULT scode;
  } cases[] = {
      {1, DISPATCH_PROPERTYPUT, &many, 1, static_cast<HRESULT>(0x800A000D)},  // Type mismatch
      {8, DISPATCH_METHOD, three, 2, static_cast<HRESULT>(0x800A01C2)},       // 450: too many
      {3, DISPATCH_METHOD, nullptr, 0, static_cast<HRESULT>(0x800A01C1)},     // 449: not optional
  };
  for (const auto& c : cases) {
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{c.args, c.flags == DISPATCH_PROPERTYPUT ? &put : nullptr, c.count,
                      c.flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
    EXCEPINFO info{};
    EXPECT_EQ(object->Invoke(c.id, IID_NULL, 0, c.flags, &params, nullptr, &info, nullptr),
              DISP_E_EXCEPTION)
        << c.id;
    EXPECT_EQ(info.scode, c.scode) << c.id;
    EXPECT_NE(info.bstrDescription, nullptr) << c.id;
    EXPECT_STREQ(info.bstrSource, L"VeltranoModule");
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrSource);
  }
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"TranslateEverything")};
  DISPID id = 0;
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
  ::VariantClear(&many);
  object->Release();
}

TEST_F(ServerTest, UnloadsOnlyWithoutObjectsOrLocks) {
  EXPECT_EQ(can_unload_now_(), S_OK);
  IDispatch* object = Create();
  EXPECT_EQ(can_unload_now_(), S_FALSE);
  object->Release();
  EXPECT_EQ(can_unload_now_(), S_OK);
  factory_->LockServer(TRUE);
  EXPECT_EQ(can_unload_now_(), S_FALSE);
  factory_->LockServer(FALSE);
  EXPECT_EQ(can_unload_now_(), S_OK);

  IUnknown* other = nullptr;
  EXPECT_EQ(get_class_object_(kIid, IID_IClassFactory, reinterpret_cast<void**>(&other)),
            CLASS_E_CLASSNOTAVAILABLE);
}

}  // namespace
}  // namespace vt::interpreter
