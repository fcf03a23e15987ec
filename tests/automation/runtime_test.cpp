#include "platform/automation/runtime.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "platform/automation/error.h"
#include "platform/automation/registry.h"
#include "tests/automation/temp_registry.h"

namespace vt::automation {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTestClsid = "{3F2A1B4C-5D6E-4F70-8192-A3B4C5D6E7F8}";

class RuntimeTest : public TempRegistryTest {
 protected:
  void RegisterTestServer(const std::string& progid, const std::string& clsid = kTestClsid,
                          const std::string& server = VT_TEST_SERVER) {
    UpdateClassRegistry(registry_file(), [&](ClassRegistry& r) {
      r.Register({progid, clsid, server});
    });
  }

  static Error CreateError(std::string_view progid) {
    try {
      CreateObject(progid);
    } catch (const Error& e) {
      return e;
    }
    ADD_FAILURE() << "CreateObject(" << progid << ") succeeded";
    return Error(0, "");
  }
};

TEST_F(RuntimeTest, CreatesObjectAndUnloadsServerOnlyWhenNoneIsAlive) {
  RegisterTestServer("Test.Counted");
  ObjectRef a = CreateObject("test.counted");  // ProgIDs ignore case
  ASSERT_TRUE(a);
  EXPECT_EQ(TypeNameOf(a), "TestCounted");
  ObjectRef b = CreateObject("Test.Counted");
  EXPECT_EQ(Get(a, "Live").ToLong(), 2);

  EXPECT_EQ(FreeUnusedLibraries(), 0u);
  EXPECT_TRUE(IsServerLoaded(VT_TEST_SERVER));
  b.reset();
  EXPECT_EQ(FreeUnusedLibraries(), 0u);
  EXPECT_EQ(Get(a, "Live").ToLong(), 1);
  a.reset();
  EXPECT_EQ(FreeUnusedLibraries(), 1u);
  EXPECT_FALSE(IsServerLoaded(VT_TEST_SERVER));
  EXPECT_EQ(dlopen(VT_TEST_SERVER, RTLD_NOW | RTLD_NOLOAD), nullptr) << "still mapped";

  // Loaded again on demand, with fresh module state.
  ObjectRef c = CreateObject("Test.Counted");
  EXPECT_EQ(Get(c, "Live").ToLong(), 1);
  c.reset();
  EXPECT_EQ(FreeUnusedLibraries(), 1u);
}

TEST_F(RuntimeTest, UnregisteredClassIsAClearError) {
  Error e = CreateError("Nobody.Here");
  EXPECT_EQ(e.number(), errors::kCannotCreateObject);
  EXPECT_NE(e.description().find("ActiveX component can't create object: Nobody.Here"),
            std::string::npos);
  EXPECT_NE(e.description().find(registry_file().string()), std::string::npos);
}

TEST_F(RuntimeTest, BrokenRegistrationsAreClearErrors) {
  RegisterTestServer("Test.Missing", "{11111111-2222-3333-4444-555555555555}",
                     (dir() / "nowhere.so").string());
  Error missing = CreateError("Test.Missing");
  EXPECT_EQ(missing.number(), errors::kCannotCreateObject);
  EXPECT_NE(missing.description().find("nowhere.so"), std::string::npos);

  RegisterTestServer("Test.NotAServer", "{11111111-2222-3333-4444-666666666666}",
                     VT_AUTOMATION_LIBRARY);
  EXPECT_NE(CreateError("Test.NotAServer").description().find("is not a server library"),
            std::string::npos);

  RegisterTestServer("Test.WrongClass", "{11111111-2222-3333-4444-777777777777}");
  const std::string wrong = CreateError("Test.WrongClass").description();
  EXPECT_NE(wrong.find("0x80040111"), std::string::npos) << wrong;
  EXPECT_NE(wrong.find("no class {11111111-2222-3333-4444-777777777777} here"), std::string::npos)
      << wrong;
  FreeUnusedLibraries();
}

TEST_F(RuntimeTest, DamagedRegistryIsAClearError) {
  WriteRegistry("{\"classes\": [");
  Error e = CreateError("Test.Counted");
  EXPECT_EQ(e.number(), errors::kCannotCreateObject);
  EXPECT_NE(e.description().find("damaged"), std::string::npos) << e.description();
}

class Workspace : public DispatchObject {
 public:
  std::string TypeName() const override { return "Application"; }
};

TEST(RunningObjectsTest, GetObjectFindsRegisteredObjectOnly) {
  try {
    GetObject("", "Workspace.Application");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kCannotCreateObject);
    EXPECT_NE(e.description().find("ActiveX component can't create object: Workspace.Application"),
              std::string::npos);
  }
  auto ws = std::make_shared<Workspace>();
  RegisterActiveObject("Workspace.Application", ws);
  EXPECT_EQ(GetObject("", "workspace.application"), ws);

  auto other = std::make_shared<Workspace>();
  RegisterActiveObject("Workspace.Application", other);
  EXPECT_EQ(GetObject("", "Workspace.Application"), other);

  RevokeActiveObject("WORKSPACE.APPLICATION");
  EXPECT_THROW(GetObject("", "Workspace.Application"), Error);
  RevokeActiveObject("Workspace.Application");  // twice is harmless

  try {
    GetObject("/tmp/Main.grf", "");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kInvalidCall);
  }
  EXPECT_THROW(RegisterActiveObject("X", nullptr), Error);
}

}  // namespace
}  // namespace vt::automation
