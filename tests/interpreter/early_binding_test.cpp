// VBA with a reference to the type library Veltrano binds early: it calls the
// members of _VeltranoModule through the vtable and, for an optional
// parameter left out, passes the default value that the registered type
// library gives, converted to the parameter's type. A late-bound caller goes
// through IDispatch::Invoke with the parameter missing (VT_ERROR
// DISP_E_PARAMNOTFOUND). This program is a host, named FIX.exe so that the
// library's host check passes, with the sample host's workspace, pictures,
// forms and alarm lists: it calls every member both ways, each on its own
// copy of the sample application with Veltrano.dll loaded afresh, and
// requires the same results, message boxes and files.
// clang-format off
#include <windows.h>
#include <oaidl.h>
// clang-format on

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/forms/user_form.h"
#include "host/server_objects.h"
#include "host/workspace.h"
#include "platform/automation/com.h"
#include "platform/automation/runtime.h"
#include "platform/data/csv.h"
#include "platform/data/recordset.h"
#include "platform/system/text_windows.h"
#include "platform/system/utf8_path.h"
#include "tests/interpreter/dual_module.h"
#include "tests/support/fake_host.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace vt::interpreter {
namespace {

namespace com = automation::com;
namespace fs = std::filesystem;
using automation::Guid;

const GUID kLibrary = com::ToIid(Guid::FromString("{E0B1C286-71C6-4EF0-9543-D2FF05EA585F}"));
const CLSID kClass = com::ToIid(Guid::FromString("{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}"));
const IID kInterface = com::ToIid(Guid::FromString("{4EBE1143-1005-4961-B42D-4E3211D98919}"));

struct Var {
  Var() { ::VariantInit(&v); }
  ~Var() { ::VariantClear(&v); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  VARIANT v;
};

struct Bstr {
  explicit Bstr(const std::string& text)
      : b(::SysAllocString(system::windows::Widen(text).c_str())) {}
  ~Bstr() { ::SysFreeString(b); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  std::string str() const { return b ? system::windows::Narrow({b, ::SysStringLen(b)}) : ""; }
  BSTR b;
};

std::wstring Wide(const char* text) { return system::windows::Widen(text); }

// The vtable half of _VeltranoModule in the registered type library.
ITypeInfo* RegisteredInterface() {
  ITypeLib* library = nullptr;
  EXPECT_EQ(::LoadRegTypeLib(kLibrary, 1, 0, 0, &library), S_OK);
  if (!library) return nullptr;
  ITypeInfo* dispatch = nullptr;
  EXPECT_EQ(library->GetTypeInfoOfGuid(kInterface, &dispatch), S_OK);
  library->Release();
  if (!dispatch) return nullptr;
  HREFTYPE vtable = 0;
  ITypeInfo* info = nullptr;
  EXPECT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable), S_OK);
  EXPECT_EQ(dispatch->GetRefTypeInfo(vtable, &info), S_OK);
  dispatch->Release();
  return info;
}

// The type a by-reference parameter points to; VT_EMPTY for any other.
VARTYPE Pointee(const TYPEDESC& type) {
  return type.vt == VT_PTR && type.lptdesc ? type.lptdesc->vt : VARTYPE{VT_EMPTY};
}

// Every optional parameter of the registered interface, by member and
// position, with its default converted to its type as an early-bound caller
// converts it; a parameter without one is a failure (one of VARIANT type
// needs none, VT_ERROR stands for it).
std::map<std::pair<std::wstring, UINT>, std::shared_ptr<Var>> RegisteredDefaults() {
  std::map<std::pair<std::wstring, UINT>, std::shared_ptr<Var>> defaults;
  ITypeInfo* info = RegisteredInterface();
  if (!info) return defaults;
  TYPEATTR* attr = nullptr;
  EXPECT_EQ(info->GetTypeAttr(&attr), S_OK);
  const WORD functions = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (UINT f = 0; f < functions; ++f) {
    FUNCDESC* function = nullptr;
    EXPECT_EQ(info->GetFuncDesc(f, &function), S_OK) << f;
    if (!function) continue;
    BSTR name = nullptr;
    UINT found = 0;
    EXPECT_EQ(info->GetNames(function->memid, &name, 1, &found), S_OK);
    const std::wstring member = name ? name : L"";
    ::SysFreeString(name);
    for (SHORT p = 0; p < function->cParams; ++p) {
      const ELEMDESC& param = function->lprgelemdescParam[p];
      const USHORT flags = param.paramdesc.wParamFlags;
      if (!(flags & PARAMFLAG_FOPT)) continue;
      const VARTYPE type = Pointee(param.tdesc);
      auto value = std::make_shared<Var>();
      if (type == VT_VARIANT) {
        value->v.vt = VT_ERROR, value->v.scode = DISP_E_PARAMNOTFOUND;
      } else if (!(flags & PARAMFLAG_FHASDEFAULT) || !param.paramdesc.pparamdescex) {
        ADD_FAILURE() << "no default value for parameter " << p << " of "
                      << system::windows::Narrow(member);
        continue;
      } else {
        EXPECT_EQ(
            ::VariantChangeType(&value->v, &param.paramdesc.pparamdescex->varDefaultValue, 0, type),
            S_OK)
            << system::windows::Narrow(member) << " " << p;
      }
      defaults[{member, static_cast<UINT>(p)}] = value;
    }
    info->ReleaseFuncDesc(function);
  }
  info->Release();
  return defaults;
}

// `text` with each `folder` written as COPY.
std::string WithoutFolder(std::string text, const std::string& folder) {
  for (auto at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
    text.replace(at, folder.size(), "COPY");
  }
  return text;
}

// One copy of the sample application, and what is in it after a run.
class Sample {
 public:
  explicit Sample(const fs::path& root) : root_(root), pictures_(root / "pictures") {
    fs::copy(fs::path(VT_EXAMPLES_DIR) / "pictures", pictures_, fs::copy_options::recursive);
    for (const char* name : {"Veltrano.xls", "Veltrano_Alm.xls"}) {
      fs::copy_file(fs::path(VT_SAMPLE_DIR) / name, pictures_ / "Veltrano" / name);
    }
    fs::create_directory(root / "forms");
    fs::copy_file(fs::path(VT_EXAMPLES_DIR) / "forms" / "frmSettings.frm.json",
                  root / "forms" / "frmSettings.frm.json");
  }

  const fs::path& root() const { return root_; }
  std::string Path(const fs::path& relative) const {
    return system::Utf8FromPath(root_ / relative);
  }

  // Every file of the copy, by its path below the copy ("pictures/Main.grf"),
  // the copy's folder written as COPY (the coverage report names it); the
  // transcript aside.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      if (!entry.is_regular_file() || entry.path().filename() == "transcript.jsonl") continue;
      files[system::Utf8FromPath(fs::relative(entry.path(), root_).generic_wstring())] =
          WithoutFolder(testing::ReadFile(entry.path()), system::Utf8FromPath(root_));
    }
    return files;
  }
  // The boxes and windows shown, the copy's folder written as COPY.
  std::vector<std::string> Transcript() const {
    std::string escaped;  // as JSON writes it
    for (char c : system::Utf8FromPath(root_)) {
      escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    std::vector<std::string> lines = testing::ReadLines(root_ / "transcript.jsonl");
    for (std::string& line : lines) line = WithoutFolder(line, escaped);
    return lines;
  }

 private:
  fs::path root_;
  fs::path pictures_;
};

// What the calls gave, a line each.
using Results = std::vector<std::string>;

// The members in slot order, each once, every optional parameter left out;
// `GlobalLangNum` set first so that the pictures have a language to go to.
struct HostObjects {
  std::shared_ptr<host::Workspace> workspace;
  automation::ObjectRef alarms;
  automation::ObjectRef form;
};
using Members = std::function<void(IDispatch* module, const HostObjects& host, Results& results)>;

// The title of the picture Main as the workspace holds it open.
std::string MainTitle(const HostObjects& host) {
  using automation::Get;
  const auto main = host.workspace->documents().Find("Main");
  if (!main) return "(Main is not open)";
  const automation::ObjectRef objects =
      Get(Get(automation::ObjectRef(main), "Page").ToObject(), "ContainedObjects").ToObject();
  return Get(Get(objects, "Item", {automation::Variant(std::int32_t{1})}).ToObject(), "Caption")
      .ToString();
}

// What TranslateForm changes on the sample form: a frame's caption and a
// MultiPage's first tab.
std::string FormTexts(const automation::ObjectRef& form) {
  using automation::Get;
  using automation::Variant;
  const automation::ObjectRef controls = Get(form, "Controls").ToObject();
  const automation::ObjectRef pages =
      Get(Get(controls, "Item", {Variant(std::int32_t{0})}).ToObject(), "Pages").ToObject();
  return Get(Get(controls, "Item", {Variant(std::int32_t{1})}).ToObject(), "Caption").ToString() +
         " " + Get(Get(pages, "Item", {Variant(std::int32_t{0})}).ToObject(), "Caption").ToString();
}

// The kind of recordset a call gave back.
std::string KindOf(const automation::ObjectRef& recordset) {
  return std::dynamic_pointer_cast<data::Recordset>(recordset) ? "the host's"
                                                               : automation::TypeNameOf(recordset);
}

void CallBySlot(IDispatch* object, const HostObjects& host, Results& results) {
  auto defaults = RegisteredDefaults();
  auto omitted = [&](const wchar_t* member, UINT position) -> VARIANT& {
    auto found = defaults.find({member, position});
    if (found == defaults.end()) {
      ADD_FAILURE() << "no default for parameter " << position;
      static VARIANT none{};
      return none;
    }
    return found->second->v;
  };
  DualModule* dual = nullptr;
  ASSERT_EQ(object->QueryInterface(kInterface, reinterpret_cast<void**>(&dual)), S_OK);
  short language = 0;
  VARIANT_BOOL prefix = VARIANT_TRUE;
  EXPECT_EQ(dual->get_GlobalLangNum(&language), S_OK);
  results.push_back("GlobalLangNum " + std::to_string(language));
  EXPECT_EQ(dual->put_GlobalLangNum(2), S_OK);
  EXPECT_EQ(dual->put_GetObjectsPrefix(VARIANT_FALSE), S_OK);
  EXPECT_EQ(dual->get_GetObjectsPrefix(&prefix), S_OK);
  results.push_back("GetObjectsPrefix " + std::to_string(prefix));

  Bstr picture("Main");
  EXPECT_EQ(dual->TranslatePicture(&picture.b, &omitted(L"TranslatePicture", 1).iVal,
                                   &omitted(L"TranslatePicture", 2).bstrVal),
            S_OK);
  results.push_back("TranslatePicture " + picture.str() + " [" + MainTitle(host) + "]");

  Bstr text("  Start  ");
  Bstr translated("");
  EXPECT_EQ(dual->TranslateString(&text.b, &omitted(L"TranslateString", 1).pdispVal,
                                  &omitted(L"TranslateString", 2).iVal,
                                  &omitted(L"TranslateString", 3).boolVal, &translated.b),
            S_OK);
  results.push_back("TranslateString [" + translated.str() + "]");

  IDispatch* list = com::ExposeObject(host.alarms);
  IDispatch* result = nullptr;
  short field = 2;
  EXPECT_EQ(dual->TranslateAlarmsRecordset(
                &list, &field, &omitted(L"TranslateAlarmsRecordset", 2).pdispVal,
                &omitted(L"TranslateAlarmsRecordset", 3).iVal,
                &omitted(L"TranslateAlarmsRecordset", 4).iVal,
                &omitted(L"TranslateAlarmsRecordset", 5).boolVal, &result),
            S_OK);
  results.push_back("TranslateAlarmsRecordset " + KindOf(com::WrapDispatch(result)));
  if (result) result->Release();
  list->Release();

  Bstr user("MANUTENTORE");
  Var empty;
  EXPECT_EQ(dual->SetUserGlobalLang(&user.b, &empty.v), S_OK);
  EXPECT_EQ(dual->get_GlobalLangNum(&language), S_OK);
  results.push_back("SetUserGlobalLang " + std::to_string(empty.v.vt) + " " +
                    std::to_string(language));

  IDispatch* user_form = com::ExposeObject(host.form);
  EXPECT_EQ(dual->TranslateForm(&user_form, &omitted(L"TranslateForm", 1).iVal,
                                &omitted(L"TranslateForm", 2).bstrVal),
            S_OK);
  user_form->Release();
  results.push_back("TranslateForm " + FormTexts(host.form));

  EXPECT_EQ(dual->TranslateAll(&omitted(L"TranslateAll", 0).pdispVal), S_OK);
  EXPECT_EQ(dual->ShowStartupConfig(), S_OK);
  EXPECT_EQ(dual->UpdateAndVerifyDictionary(), S_OK);
  EXPECT_EQ(dual->ChangeDevLang(), S_OK);
  results.push_back("done");
  dual->Release();
}

// A call by name, the arguments in their order (the missing ones VT_ERROR).
HRESULT Invoke(IDispatch* object, const wchar_t* member, std::vector<VARIANT> args,
               VARIANT* result = nullptr, WORD flags = DISPATCH_METHOD) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
  DISPID id = DISPID_UNKNOWN;
  EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  std::vector<VARIANT> passed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  const bool is_put = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{passed.data(), is_put ? &put : nullptr, static_cast<UINT>(passed.size()),
                    is_put ? 1u : 0u};
  return object->Invoke(id, IID_NULL, 0, flags, &params, result, nullptr, nullptr);
}

VARIANT Missing() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_ERROR, v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}
VARIANT RefText(BSTR* text) {
  VARIANT v;
  v.vt = VT_BYREF | VT_BSTR, v.pbstrVal = text;
  return v;
}
VARIANT RefObject(IDispatch** object) {
  VARIANT v;
  v.vt = VT_BYREF | VT_DISPATCH, v.ppdispVal = object;
  return v;
}
VARIANT Integer(short value) {
  VARIANT v;
  v.vt = VT_I2, v.iVal = value;
  return v;
}

void CallByName(IDispatch* object, const HostObjects& host, Results& results) {
  Var language, prefix;
  EXPECT_EQ(Invoke(object, L"GlobalLangNum", {}, &language.v, DISPATCH_PROPERTYGET), S_OK);
  results.push_back("GlobalLangNum " + std::to_string(language.v.iVal));
  EXPECT_EQ(Invoke(object, L"GlobalLangNum", {Integer(2)}, nullptr, DISPATCH_PROPERTYPUT), S_OK);
  VARIANT off;
  off.vt = VT_BOOL, off.boolVal = VARIANT_FALSE;
  EXPECT_EQ(Invoke(object, L"GetObjectsPrefix", {off}, nullptr, DISPATCH_PROPERTYPUT), S_OK);
  EXPECT_EQ(Invoke(object, L"GetObjectsPrefix", {}, &prefix.v, DISPATCH_PROPERTYGET), S_OK);
  results.push_back("GetObjectsPrefix " + std::to_string(prefix.v.boolVal));

  Bstr picture("Main");
  EXPECT_EQ(Invoke(object, L"TranslatePicture", {RefText(&picture.b), Missing(), Missing()}), S_OK);
  results.push_back("TranslatePicture " + picture.str() + " [" + MainTitle(host) + "]");

  Bstr text("  Start  ");
  Var translated;
  EXPECT_EQ(Invoke(object, L"TranslateString", {RefText(&text.b), Missing(), Missing(), Missing()},
                   &translated.v),
            S_OK);
  results.push_back("TranslateString [" + automation::com::FromVariant(translated.v).ToString() +
                    "]");

  IDispatch* list = com::ExposeObject(host.alarms);
  Var result;
  EXPECT_EQ(
      Invoke(object, L"TranslateAlarmsRecordset",
             {RefObject(&list), Integer(2), Missing(), Missing(), Missing(), Missing()}, &result.v),
      S_OK);
  results.push_back("TranslateAlarmsRecordset " + KindOf(com::FromVariant(result.v).ToObject()));
  list->Release();

  Bstr user("MANUTENTORE");
  Var empty;
  EXPECT_EQ(Invoke(object, L"SetUserGlobalLang", {RefText(&user.b)}, &empty.v), S_OK);
  EXPECT_EQ(Invoke(object, L"GlobalLangNum", {}, &language.v, DISPATCH_PROPERTYGET), S_OK);
  results.push_back("SetUserGlobalLang " + std::to_string(empty.v.vt) + " " +
                    std::to_string(language.v.iVal));

  IDispatch* user_form = com::ExposeObject(host.form);
  EXPECT_EQ(Invoke(object, L"TranslateForm", {RefObject(&user_form), Missing(), Missing()}), S_OK);
  user_form->Release();
  results.push_back("TranslateForm " + FormTexts(host.form));

  EXPECT_EQ(Invoke(object, L"TranslateAll", {Missing()}), S_OK);
  for (const wchar_t* member :
       {L"ShowStartupConfig", L"UpdateAndVerifyDictionary", L"ChangeDevLang"}) {
    EXPECT_EQ(Invoke(object, member, {}), S_OK);
  }
  results.push_back("done");
}

// The members run on `sample` in a host of their own: the workspace served,
// the interpreter created through COM as VBA creates it, Veltrano.dll
// unloaded at the end. The open pictures are then saved and the form
// written back, so that the files show what was done.
Results RunOn(const Sample& sample, const Members& members) {
  Results results;
  testing::ScopedEnvVar batch("VELTRANO_BATCH", "1");
  testing::ScopedEnvVar transcript("VELTRANO_TRANSCRIPT", sample.Path("transcript.jsonl"));
  testing::ScopedEnvVar answers("VELTRANO_ANSWERS",
                                "ok,ok,ok,ok,ok,ok,ok,ok,yes,yes,ok,ok,ok,ok,ok,ok");
  testing::ScopedEnvVar select("VELTRANO_SELECT", "*");
  testing::ScopedEnvVar lang_number("VELTRANO_LANG_NUMBER", "3");
  {
    const std::shared_ptr<void> runtime = host::JoinObjectRuntime();
    auto workspace = std::make_shared<host::Workspace>(sample.root() / "pictures");
    {
      testing::ScopedWorkspace served(workspace);
      const auto form = host::forms::UserForm::Load(sample.Path("forms/frmSettings.frm.json"));
      const HostObjects objects{
          workspace, data::LoadCsv(system::Utf8FromPath(fs::path(VT_EXAMPLES_DIR) / "alarms.csv")),
          form};
      IDispatch* object = nullptr;
      EXPECT_EQ(::CoCreateInstance(kClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(&object)),
                S_OK);
      if (object) {
        members(object, objects, results);
        object->Release();
      }
      form->Save();
      workspace->documents().CloseAll(host::pictures::CloseCode::Save);
    }
  }
  EXPECT_EQ(::GetModuleHandleW(Wide(VT_SERVER_LIBRARY).c_str()), nullptr)
      << "Veltrano.dll is still loaded: the next run would share its state";
  return results;
}

// Registers Veltrano.dll for the test's life, as regsvr32 does.
class Registered {
 public:
  Registered() { EXPECT_EQ(Call("DllRegisterServer"), S_OK); }
  ~Registered() { EXPECT_EQ(Call("DllUnregisterServer"), S_OK); }
  Registered(const Registered&) = delete;
  Registered& operator=(const Registered&) = delete;

 private:
  static HRESULT Call(const char* entry) {
    HMODULE library = ::LoadLibraryW(Wide(VT_SERVER_LIBRARY).c_str());
    if (!library) return E_FAIL;
    auto* call = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
        reinterpret_cast<void*>(::GetProcAddress(library, entry)));
    const HRESULT hr = call ? call() : E_FAIL;
    ::FreeLibrary(library);
    return hr;
  }
};

TEST(EarlyBindingTest, EveryOptionalParameterHasADefaultOfItsType) {
  const Registered registered;
  ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  const auto defaults = RegisteredDefaults();
  // TranslatePicture 2, TranslateString 3, TranslateAlarmsRecordset 4,
  // TranslateForm 2, TranslateAll 1.
  EXPECT_EQ(defaults.size(), 12u);
  std::map<VARTYPE, int> types;
  for (const auto& [where, value] : defaults) {
    ++types[value->v.vt];
    switch (value->v.vt) {
      case VT_I2:
        EXPECT_EQ(value->v.iVal, 0);
        break;
      case VT_BOOL:
        EXPECT_EQ(value->v.boolVal, VARIANT_FALSE);
        break;
      case VT_BSTR:
        EXPECT_EQ(::SysStringLen(value->v.bstrVal), 0u);
        break;
      case VT_DISPATCH:
        EXPECT_EQ(value->v.pdispVal, nullptr);
        break;
      default:
        ADD_FAILURE() << "a default of type " << value->v.vt;
    }
  }
  EXPECT_EQ(types,
            (std::map<VARTYPE, int>{{VT_I2, 5}, {VT_BOOL, 2}, {VT_BSTR, 2}, {VT_DISPATCH, 3}}));
  ::CoUninitialize();
}

TEST(EarlyBindingTest, BySlotWithTheDefaultsAsByNameWithoutThem) {
  const Registered registered;
  testing::TempDir dir("vt-early-binding");
  fs::create_directory(dir / "slot");
  fs::create_directory(dir / "name");
  const Sample slot(dir / "slot"), name(dir / "name");
  const Results by_slot = RunOn(slot, CallBySlot);
  const Results by_name = RunOn(name, CallByName);

  EXPECT_EQ(by_slot, by_name);
  EXPECT_EQ(slot.Transcript(), name.Transcript());
  EXPECT_EQ(slot.Files(), name.Files());
  // What both did: the string and the alarm list without a language are
  // refused with their message, the picture and form are translated, and the
  // result is the host's own recordset.
  const std::vector<std::string> expected{
      "GlobalLangNum 1",
      "GetObjectsPrefix 0",
      "TranslatePicture Main [  Übersicht Kessel ]",
      "TranslateString [  Start  ]",
      "TranslateAlarmsRecordset the host's",
      "SetUserGlobalLang 0 3",
      "TranslateForm Lingua Generale",
      "done",
  };
  EXPECT_EQ(by_slot, expected);
  std::string boxes;
  for (const std::string& line : slot.Transcript()) boxes += line + "\n";
  for (const char* shown : {"\\\"TranslateString\\\" method parameters are wrong !",
                            "\\\"TranslateAlarmsRecordset\\\" method parameters are wrong !",
                            "\"launch\": \"editor\"", "\"form\": \"frmUpdateDictionary\""}) {
    EXPECT_NE(boxes.find(shown), std::string::npos) << shown << " in\n" << boxes;
  }
  EXPECT_EQ(slot.Files().count("pictures/Veltrano/Veltrano.log"), 0u) << "a failure was reported";
}

}  // namespace
}  // namespace vt::interpreter
