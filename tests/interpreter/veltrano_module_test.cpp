// VeltranoModule: creation steps 1 to 4 and 6, the lifecycle states, the
// shared module-level state, and the members by name and through C++.
#include "library/interpreter/veltrano_module.h"

#include <gtest/gtest.h>

#include <thread>

#include "library/interpreter/module_state.h"
#include "platform/system/paths.h"
#include "platform/system/utf8_path.h"
#include "tests/interpreter/interpreter_fixture.h"

namespace vt::interpreter {
namespace {

using automation::Variant;
using testing::InterpreterTest;

constexpr const char* kOutsideHostText =
    "Veltrano can be referenced only by iFix !\r\nNo translation will be executed...";

class VeltranoModuleTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    WriteWorkbooks();
    WriteIni(testing::kReadyIni);
  }
  std::shared_ptr<VeltranoModule> Create() { return std::make_shared<VeltranoModule>(session_); }
  bool IniWasRead() const {
    for (const auto& path : env_.files_read) {
      if (path == ini_path().string()) return true;
    }
    return false;
  }
};

// Objects made by the host share the module-level state of their thread; an
// object on a session of its own leaves the thread's alone.
TEST_F(VeltranoModuleTest, HostObjectsShareTheirThreadsSession) {
  Session& shared = ThreadSession();
  const int alive_before = shared.objects_alive;
  {
    VeltranoModule first;
    VeltranoModule second;
    ASSERT_EQ(first.lifecycle(), Lifecycle::Ready);
    ASSERT_EQ(second.lifecycle(), Lifecycle::Ready);
    EXPECT_EQ(shared.objects_alive, alive_before + 2);
    EXPECT_EQ(shared.configuration.strFixPath, system::Utf8FromPath(pictures()));
    ASSERT_NE(shared.rsUsersLang, nullptr);
    EXPECT_EQ(session_.objects_alive, 0);
    EXPECT_EQ(session_.configuration.strFixPath, "");
  }
  EXPECT_EQ(shared.objects_alive, alive_before);
  if (alive_before == 0) {
    EXPECT_EQ(shared.rsUsersLang, nullptr) << "the last object closes the shared user list";
  }

  const Session* other = nullptr;
  int other_alive = -1;
  std::thread([&] {
    other = &ThreadSession();
    other_alive = other->objects_alive;
  }).join();
  EXPECT_NE(other, &shared);
  EXPECT_EQ(other_alive, 0);
}

TEST_F(VeltranoModuleTest, ReadyInsideTheHost) {
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::Ready);
  EXPECT_TRUE(backend_.shown.empty());
  EXPECT_EQ(session_.configuration.strFixPath, system::Utf8FromPath(pictures()));
  EXPECT_EQ(workspace_->system->calls, 1);
  ASSERT_EQ(workspace_->system->argument_types.size(), 1u);
  EXPECT_EQ(workspace_->system->argument_types[0], automation::VarType::Integer);
  EXPECT_EQ(module->get_GlobalLangNum(), 1);
  EXPECT_FALSE(module->get_GetObjectsPrefix());
  EXPECT_EQ(Users(), (decltype(Users()){{"OPERATOR", 2}}));
  EXPECT_EQ(module->TypeName(), "VeltranoModule");
  EXPECT_FALSE(std::filesystem::exists(log_path()));
}

TEST_F(VeltranoModuleTest, ConfigurationFillsThePublicSettings) {
  WriteIni(
      "[PARAMETERS]\nInterpreterEnabled=Y\nDevelopmentLanguageNumber=1\n"
      "StartingLanguageNumber=4\nGetObjectsPrefix=Yes\nObjectsTargetPrefix= tx \n");
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::Ready);
  EXPECT_EQ(module->get_GlobalLangNum(), 4);
  EXPECT_EQ(session_.configuration.intStartLangNum, 4);
  EXPECT_TRUE(module->get_GetObjectsPrefix());
  EXPECT_EQ(session_.configuration.strObjectsTargetPrefix, "tx");
}

TEST_F(VeltranoModuleTest, OutsideTheHostOneMessageAndNothingElse) {
  env_.processes = {"bash", "python3", "FIX.exe.bak"};
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::OutsideHost);
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(backend_.shown[0].text, kOutsideHostText);
  EXPECT_EQ(backend_.shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(backend_.shown[0].style, 16);
  EXPECT_EQ(workspace_->system->calls, 0) << "the host is not asked for the pictures folder";
  EXPECT_FALSE(IniWasRead());
  EXPECT_EQ(session_.configuration.strFixPath, "");
  EXPECT_FALSE(session_.rsUsersLang) << "no user list is made";
  EXPECT_EQ(module->get_GlobalLangNum(), 0);
  EXPECT_FALSE(std::filesystem::exists(log_path()));
}

TEST_F(VeltranoModuleTest, FailingHostCheckReportsThenTreatsTheHostAsAbsent) {
  env_.process_list_error = "process list unavailable";
  env_.append_error = true;  // the log would go to /Veltrano: never write there
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::OutsideHost);
  ASSERT_EQ(backend_.shown.size(), 2u);
  EXPECT_NE(backend_.shown[0].text.find("Module: modProcessList\r\nProcedure: "
                                        "SearchInProcessList\r\nError description: process "
                                        "list unavailable"),
            std::string::npos);
  EXPECT_EQ(backend_.shown[1].text, kOutsideHostText);
  ASSERT_EQ(env_.appended_to.size(), 1u);
  EXPECT_EQ(env_.appended_to[0], system::SystemPath("\\Veltrano\\Veltrano.log"));
}

TEST_F(VeltranoModuleTest, InterpreterSwitchedOffIsDisabledSilently) {
  for (const std::string line : {"InterpreterEnabled=N\n", "InterpreterEnabled=No\n", ""}) {
    WriteIni("[PARAMETERS]\n" + line +
             "DevelopmentLanguageNumber=1\nStartingLanguageNumber=3\n"
             "[USERSLANG]\nUserName_001=OPERATOR\nUserLang_001=2\n");
    auto module = Create();
    EXPECT_EQ(module->lifecycle(), Lifecycle::Disabled) << line;
    EXPECT_TRUE(backend_.shown.empty()) << line;
    // The configuration was read all the same.
    EXPECT_EQ(module->get_GlobalLangNum(), 3);
    std::string user = "OPERATOR";
    EXPECT_EQ(module->GetUserLang(user), 2);
  }
}

TEST_F(VeltranoModuleTest, MissingConfigurationIsDisabledWithItsMessage) {
  std::filesystem::remove(ini_path());
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::Disabled);
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(
      backend_.shown[0].text.rfind("The file \"" + ini_path().string() + "\" does not exist:", 0),
      0u);
  EXPECT_EQ(module->get_GlobalLangNum(), 0);
}

TEST_F(VeltranoModuleTest, UnreadableConfigurationIsDisabled) {
  WriteIni("[PARAMETERS]\nInterpreterEnabled=Y\nStartingLanguageNumber=2\n");
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::Disabled);
  EXPECT_EQ(module->get_GlobalLangNum(), 0) << "the failure came before the starting language";
  ASSERT_EQ(backend_.shown.size(), 2u);
  EXPECT_EQ(backend_.shown[0].text.rfind("The \"Veltrano.dll\" cannot read the file", 0), 0u);
  EXPECT_NE(Log().find(";modIniHandler;ReadIniFile;"), std::string::npos);
}

TEST_F(VeltranoModuleTest, NoWorkspaceIsBrokenAndReported) {
  automation::RevokeActiveObject("Workspace.Application");
  // An earlier object's folder.
  session_.configuration.strFixPath = system::Utf8FromPath(pictures());
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::Broken);
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_NE(backend_.shown[0].text.find("Module: VeltranoModule\r\nProcedure: Class_Initialize\r\n"
                                        "Error description: "),
            std::string::npos);
  EXPECT_NE(backend_.shown[0].text.find("Workspace.Application"), std::string::npos)
      << backend_.shown[0].text;
  EXPECT_EQ(backend_.shown[0].title, " Veltrano - WARNING");
  const std::string log = Log();
  EXPECT_NE(log.find(";VeltranoModule;Class_Initialize;"), std::string::npos) << log;
  EXPECT_EQ(log.substr(log.size() - 3), ";\r\n");
  EXPECT_FALSE(IniWasRead());
  // Not Disabled: the properties and the user lookup still run, and the user
  // list that was never made adds no report hiding the first.
  std::string user = "OPERATOR";
  EXPECT_EQ(module->GetUserLang(user), 0);
  module->SetUserGlobalLang(user);
  EXPECT_EQ(backend_.shown.size(), 1u);
}

TEST_F(VeltranoModuleTest, FailingFixPathIsBroken) {
  workspace_->system->fail = true;
  auto module = Create();
  EXPECT_EQ(module->lifecycle(), Lifecycle::Broken);
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_NE(backend_.shown[0].text.find("Error description: FixPath failed"), std::string::npos);
  EXPECT_FALSE(IniWasRead());
}

// Outside the host and when switched off, the guarded operations do nothing
// and say nothing; TranslateString gives its argument back.
TEST_F(VeltranoModuleTest, GuardedOperationsDoNothingOutsideTheHostOrDisabled) {
  const std::string dictionary = testing::ReadFile(veltrano_dir() / "Veltrano.xls");
  WriteIni(
      "[PARAMETERS]\nInterpreterEnabled=N\nDevelopmentLanguageNumber=1\n"
      "StartingLanguageNumber=2\n");
  for (const bool outside : {true, false}) {
    env_.processes =
        outside ? std::vector<std::string>{"bash"} : std::vector<std::string>{"FIX.exe"};
    automation::ObjectRef module = Create();
    backend_.shown.clear();
    std::vector<Variant> text{Variant("  Boiler overview ")};
    EXPECT_EQ(automation::Call(module, "TranslateString", text), Variant("  Boiler overview "));
    std::vector<Variant> picture{Variant("Main"), Variant(std::int16_t{2})};
    automation::Call(module, "TranslatePicture", picture);
    std::vector<Variant> none;
    automation::Call(module, "TranslateAll", none);
    automation::Call(module, "UpdateAndVerifyDictionary", none);
    automation::Call(module, "ChangeDevLang", none);
    EXPECT_TRUE(backend_.shown.empty()) << (outside ? "outside" : "disabled");
    EXPECT_FALSE(session_.run.blnMaintenanceRunning);
  }
  EXPECT_EQ(testing::ReadFile(veltrano_dir() / "Veltrano.xls"), dictionary);
  EXPECT_EQ(std::filesystem::file_size(veltrano_dir() / "Veltrano.xls"), dictionary.size());
}

TEST_F(VeltranoModuleTest, SecondObjectReadsTheConfigurationAgain) {
  auto first = Create();
  ASSERT_EQ(first->lifecycle(), Lifecycle::Ready);
  EXPECT_TRUE(session_.configuration.blnShowWarnings);

  WriteIni(
      "[PARAMETERS]\nInterpreterEnabled=Y\nShowWarningsForMissingTranslations=N\n"
      "DevelopmentLanguageNumber=2\nStartingLanguageNumber=3\n"
      "[USERSLANG]\nUserName_001=OPERATOR\nUserLang_001=4\nUserName_002=GUEST\nUserLang_002=1\n");
  auto second = Create();
  EXPECT_EQ(second->lifecycle(), Lifecycle::Ready);
  EXPECT_FALSE(session_.configuration.blnShowWarnings);
  EXPECT_EQ(session_.configuration.intDevLangNum, 2);
  EXPECT_EQ(second->get_GlobalLangNum(), 3);
  EXPECT_EQ(first->get_GlobalLangNum(), 1) << "each object keeps its own property";
  // One fresh list, not the old one with the new users appended.
  EXPECT_EQ(Users(), (decltype(Users()){{"OPERATOR", 4}, {"GUEST", 1}}));
  std::string user = "OPERATOR";
  EXPECT_EQ(first->GetUserLang(user), 4) << "the list is shared";
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(VeltranoModuleTest, SecondObjectCanEndDisabledWhileTheFirstStaysReady) {
  auto first = Create();
  WriteIni(
      "[PARAMETERS]\nInterpreterEnabled=N\nDevelopmentLanguageNumber=1\n"
      "StartingLanguageNumber=1\n");
  auto second = Create();
  EXPECT_EQ(second->lifecycle(), Lifecycle::Disabled);
  EXPECT_EQ(first->lifecycle(), Lifecycle::Ready);
}

TEST_F(VeltranoModuleTest, UserListSurvivesTheReleaseOfAnotherObject) {
  auto first = Create();
  auto second = Create();
  second.reset();
  ASSERT_TRUE(session_.rsUsersLang);
  EXPECT_TRUE(session_.rsUsersLang->IsOpen());
  std::string user = "OPERATOR";
  EXPECT_EQ(first->GetUserLang(user), 2);
  first->SetUserGlobalLang(user);
  EXPECT_EQ(first->get_GlobalLangNum(), 2);
  EXPECT_TRUE(backend_.shown.empty());

  // The last object closes it.
  auto list = session_.rsUsersLang;
  first.reset();
  EXPECT_FALSE(session_.rsUsersLang);
  EXPECT_FALSE(list->IsOpen());
  EXPECT_EQ(session_.objects_alive, 0);
}

TEST_F(VeltranoModuleTest, ObjectsOutsideTheHostCountToo) {
  auto inside = Create();
  env_.processes = {"bash"};
  auto outside = Create();
  ASSERT_EQ(outside->lifecycle(), Lifecycle::OutsideHost);
  outside.reset();
  std::string user = "OPERATOR";
  EXPECT_EQ(inside->GetUserLang(user), 2);
  EXPECT_EQ(backend_.shown.size(), 1u);
}

TEST_F(VeltranoModuleTest, ANewObjectAfterTheLastOneWorksAgain) {
  Create().reset();
  EXPECT_FALSE(session_.rsUsersLang);
  auto again = Create();
  EXPECT_EQ(again->lifecycle(), Lifecycle::Ready);
  std::string user = "OPERATOR";
  EXPECT_EQ(again->GetUserLang(user), 2);
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(VeltranoModuleTest, PropertiesThroughTheInterface) {
  auto module = Create();
  IVeltranoModule& api = *module;
  api.put_GlobalLangNum(-5);
  EXPECT_EQ(api.get_GlobalLangNum(), -5);
  api.put_GetObjectsPrefix(true);
  EXPECT_TRUE(api.get_GetObjectsPrefix());
  std::string user = "OPERATOR";
  EXPECT_TRUE(api.SetUserGlobalLang(user).IsEmpty());
  EXPECT_EQ(api.get_GlobalLangNum(), 2);
}

TEST_F(VeltranoModuleTest, MembersByName) {
  automation::ObjectRef module = Create();
  EXPECT_EQ(automation::Get(module, "GlobalLangNum"), Variant(std::int16_t{1}));
  automation::Put(module, "globallangnum", Variant("3"));
  EXPECT_EQ(automation::Get(module, "GLOBALLANGNUM"), Variant(std::int16_t{3}));
  automation::Put(module, "GetObjectsPrefix", Variant(true));
  EXPECT_EQ(automation::Get(module, "GetObjectsPrefix"), Variant(true));
  automation::Put(module, "GetObjectsPrefix", Variant(std::int16_t{0}));
  EXPECT_EQ(automation::Get(module, "GetObjectsPrefix"), Variant(false));

  std::vector<Variant> args{Variant("OPERATOR")};
  EXPECT_TRUE(automation::Call(module, "SetUserGlobalLang", args).IsEmpty());
  EXPECT_EQ(args[0], Variant("OPERATOR")) << "the name comes back unchanged";
  EXPECT_EQ(automation::Get(module, "GlobalLangNum"), Variant(std::int16_t{2}));
}

TEST_F(VeltranoModuleTest, WrongCallsByNameRaiseTheRuntimeErrors) {
  automation::ObjectRef module = Create();
  auto number_of = [&](auto&& call) {
    try {
      call();
    } catch (const automation::Error& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number_of([&] { automation::Put(module, "GlobalLangNum", Variant(40000.0)); }),
            automation::errors::kOverflow);
  EXPECT_EQ(automation::Get(module, "GlobalLangNum"), Variant(std::int16_t{1}));
  EXPECT_EQ(number_of([&] { automation::Put(module, "GlobalLangNum", Variant("two")); }),
            automation::errors::kTypeMismatch);
  std::vector<Variant> none;
  EXPECT_EQ(number_of([&] { automation::Call(module, "SetUserGlobalLang", none); }), 449);
  EXPECT_EQ(number_of([&] {
              automation::Call(module, "SetUserGlobalLang", {Variant("a"), Variant("b")});
            }),
            450);
  EXPECT_EQ(number_of([&] { automation::Call(module, "TranslateNothing", none); }),
            automation::errors::kNoSuchMember);
  EXPECT_TRUE(backend_.shown.empty()) << "caller's errors are not reported by the object";
}

TEST_F(VeltranoModuleTest, SetUserGlobalLangByNameConvertsOtherTypes) {
  WriteIni(std::string(testing::kReadyIni) + "UserName_002=42\nUserLang_002=5\n");
  automation::ObjectRef module = Create();
  std::vector<Variant> args{Variant(std::int16_t{42})};
  automation::Call(module, "SetUserGlobalLang", args);
  EXPECT_EQ(automation::Get(module, "GlobalLangNum"), Variant(std::int16_t{5}));
  EXPECT_EQ(args[0], Variant(std::int16_t{42})) << "a converted argument stays as passed";
}

}  // namespace
}  // namespace vt::interpreter
