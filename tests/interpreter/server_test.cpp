// The library as a server, loaded the way a host loads it: registered with
// FIX.exe, created by ProgID, released, unregistered.
#include "platform/automation/server.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/automation/error.h"
#include "platform/automation/registry.h"
#include "platform/automation/runtime.h"
#include "tests/automation/temp_registry.h"
#include "tests/host/process.h"

namespace vt::interpreter {
namespace {

namespace fs = std::filesystem;
using namespace vt::automation;

constexpr const char* kProgId = "Veltrano.VeltranoModule";

class ServerTest : public TempRegistryTest {
 protected:
  vt::testing::ProcessResult Fix(const std::vector<std::string>& args) {
    return vt::testing::RunProcess(VT_FIX_EXE, args, dir());
  }

  // The library's own entry point, through the handle the runtime holds.
  template <typename Fn>
  static Fn EntryPoint(const char* name) {
    void* handle = dlopen(VT_SERVER_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    if (!handle) return nullptr;
    auto fn = reinterpret_cast<Fn>(dlsym(handle, name));
    dlclose(handle);  // only drops the reference taken just now
    return fn;
  }
};

TEST_F(ServerTest, RegisterCreateReleaseUnregister) {
  const std::string library = fs::canonical(VT_SERVER_LIBRARY).string();
  auto r = Fix({"regsvr", VT_SERVER_LIBRARY});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("DllRegisterServer"), std::string::npos);

  auto entry = ClassRegistry::Load(registry_file()).FindByProgId(kProgId);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->server, library);  // the library found its own path

  ObjectRef module = CreateObject(kProgId);
  ASSERT_TRUE(module);
  EXPECT_EQ(TypeNameOf(module), "VeltranoModule");
  try {
    Get(module, "GlobalLangNumber");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kNoSuchMember);
    EXPECT_NE(e.description().find("VeltranoModule.GlobalLangNumber"), std::string::npos);
  }

  auto can_unload = EntryPoint<DllCanUnloadNowFn>("DllCanUnloadNow");
  ASSERT_NE(can_unload, nullptr);
  EXPECT_EQ(can_unload(), kSFalse);
  EXPECT_EQ(FreeUnusedLibraries(), 0u);
  EXPECT_TRUE(IsServerLoaded(library));

  module.reset();
  EXPECT_EQ(can_unload(), kSOk);
  EXPECT_EQ(FreeUnusedLibraries(), 1u);
  EXPECT_FALSE(IsServerLoaded(library));
  EXPECT_EQ(dlopen(VT_SERVER_LIBRARY, RTLD_NOW | RTLD_NOLOAD), nullptr) << "still mapped";

  r = Fix({"regsvr", "-u", VT_SERVER_LIBRARY});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(ClassRegistry::Load(registry_file()).FindByProgId(kProgId));
  try {
    CreateObject(kProgId);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kCannotCreateObject);
    EXPECT_NE(
        e.description().find("ActiveX component can't create object: " + std::string(kProgId)),
        std::string::npos);
  }
}

TEST_F(ServerTest, RegistrationKeepsOtherClasses) {
  UpdateClassRegistry(registry_file(), [](ClassRegistry& reg) {
    reg.Register({"Other.Class", "{12345678-0000-0000-0000-000000000000}", "/x/other.so"});
  });
  ASSERT_EQ(Fix({"regsvr", VT_SERVER_LIBRARY}).status, 0);
  ASSERT_EQ(Fix({"regsvr", VT_SERVER_LIBRARY}).status, 0);  // again: still one entry
  EXPECT_EQ(ClassRegistry::Load(registry_file()).entries().size(), 2u);
  ASSERT_EQ(Fix({"regsvr", "-u", VT_SERVER_LIBRARY}).status, 0);
  auto left = ClassRegistry::Load(registry_file());
  ASSERT_EQ(left.entries().size(), 1u);
  EXPECT_EQ(left.entries()[0].progid, "Other.Class");
}

TEST_F(ServerTest, RegistrationFailureIsReportedWithItsReason) {
  const fs::path blocked = dir() / "blocked";
  std::ofstream(blocked) << "a file where a folder should be";
  setenv("VELTRANO_CLASS_REGISTRY", (blocked / "classes.json").c_str(), 1);
  auto r = Fix({"regsvr", VT_SERVER_LIBRARY});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("0x80040201"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("blocked"), std::string::npos) << r.err;
}

TEST_F(ServerTest, ClassObjectIsHandedOutForItsClassOnly) {
  void* handle = dlopen(VT_SERVER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto get = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
  auto can_unload = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
  ASSERT_TRUE(get && can_unload);

  const char* clsid = "{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}";
  void* factory = nullptr;
  EXPECT_EQ(get(nullptr, kIidClassFactory, &factory), kEPointer);
  EXPECT_EQ(get("{00000000-0000-0000-0000-000000000001}", kIidClassFactory, &factory),
            kClassNotAvailable);
  EXPECT_EQ(factory, nullptr);
  EXPECT_NE(GetErrorInfo().find("no class"), std::string::npos);
  EXPECT_EQ(get(clsid, "{00020400-0000-0000-C000-000000000046}", &factory), kENoInterface);
  ASSERT_EQ(get("{7c3e9a41-2b5d-4e8f-9a16-0d4b8c2f5e73}", kIidClassFactory, &factory), kSOk);
  ASSERT_NE(factory, nullptr);

  {
    ObjectRef a = static_cast<ClassFactory*>(factory)->CreateInstance();
    ObjectRef b = static_cast<ClassFactory*>(factory)->CreateInstance();
    EXPECT_NE(a, b);
    EXPECT_EQ(can_unload(), kSFalse);
    a.reset();
    EXPECT_EQ(can_unload(), kSFalse);
  }
  EXPECT_EQ(can_unload(), kSOk);
  dlclose(handle);
}

}  // namespace
}  // namespace vt::interpreter
