#include "platform/automation/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/automation/error.h"
#include "tests/automation/temp_registry.h"

namespace vt::automation {
namespace {

namespace fs = std::filesystem;

class RegistryTest : public TempRegistryTest {
 protected:
  std::string ReadRegistry() const {
    std::ifstream in(registry_file(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string LoadError() const {
    try {
      ClassRegistry::Load(registry_file());
    } catch (const Error& e) {
      return e.description();
    }
    ADD_FAILURE() << "loaded";
    return {};
  }
};

TEST_F(RegistryTest, LocationFollowsEnvironment) {
  EXPECT_EQ(ClassRegistryPath(), registry_file());

  std::optional<std::string> xdg;
  if (const char* v = getenv("XDG_CONFIG_HOME")) xdg = v;
  unsetenv("VELTRANO_CLASS_REGISTRY");
  setenv("XDG_CONFIG_HOME", (dir() / "xdg").c_str(), 1);
  EXPECT_EQ(ClassRegistryPath(), dir() / "xdg" / "veltrano" / "classes.json");
  unsetenv("XDG_CONFIG_HOME");
  const char* home = getenv("HOME");
  if (home && *home) {
    EXPECT_EQ(ClassRegistryPath(), fs::path(home) / ".config" / "veltrano" / "classes.json");
  }
  setenv("VELTRANO_CLASS_REGISTRY", "", 1);  // empty counts as unset
  EXPECT_NE(ClassRegistryPath(), fs::path());
  if (xdg) setenv("XDG_CONFIG_HOME", xdg->c_str(), 1);
}

TEST_F(RegistryTest, MissingFileIsEmpty) {
  EXPECT_TRUE(ClassRegistry::Load(registry_file()).entries().empty());
}

TEST_F(RegistryTest, RegisterSaveLoadUnregister) {
  UpdateClassRegistry(registry_file(), [](ClassRegistry& r) {
    r.Register({"Veltrano.VeltranoModule", "{aaaaaaaa-0000-0000-0000-000000000001}", "/a/lib.so"});
    r.Register({"Other.Thing", "{AAAAAAAA-0000-0000-0000-000000000002}", "/b/lib.so"});
  });
  ClassRegistry r = ClassRegistry::Load(registry_file());
  ASSERT_EQ(r.entries().size(), 2u);
  auto e = r.FindByProgId("VELTRANO.veltranomodule");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->clsid, "{AAAAAAAA-0000-0000-0000-000000000001}");  // normalised
  EXPECT_EQ(e->server, "/a/lib.so");
  EXPECT_EQ(r.FindByClsid("aaaaaaaa-0000-0000-0000-000000000002")->progid, "Other.Thing");
  EXPECT_FALSE(r.FindByProgId("Veltrano"));

  // Registering again replaces, never duplicates.
  UpdateClassRegistry(registry_file(), [](ClassRegistry& reg) {
    reg.Register({"Veltrano.VeltranoModule", "{AAAAAAAA-0000-0000-0000-000000000001}", "/c.so"});
  });
  r = ClassRegistry::Load(registry_file());
  ASSERT_EQ(r.entries().size(), 2u);
  EXPECT_EQ(r.FindByProgId("Veltrano.VeltranoModule")->server, "/c.so");

  bool removed = false;
  UpdateClassRegistry(registry_file(), [&](ClassRegistry& reg) {
    removed = reg.Unregister("{AAAAAAAA-0000-0000-0000-000000000001}");
  });
  EXPECT_TRUE(removed);
  r = ClassRegistry::Load(registry_file());
  EXPECT_FALSE(r.FindByProgId("Veltrano.VeltranoModule"));
  EXPECT_TRUE(r.FindByProgId("Other.Thing"));
  EXPECT_FALSE(r.Unregister("{AAAAAAAA-0000-0000-0000-000000000001}"));

  // Nothing but the registry is left in the folder (the lock is the folder's).
  std::vector<std::string> names;
  for (const auto& f : fs::directory_iterator(registry_file().parent_path())) {
    names.push_back(f.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"classes.json"}));
}

TEST_F(RegistryTest, DamagedFilesNameFileAndPlace) {
  WriteRegistry("{\"classes\": [ {\"progid\": \"A\",, } ]}");
  std::string text = LoadError();
  EXPECT_NE(text.find(registry_file().string()), std::string::npos) << text;
  EXPECT_NE(text.find("at byte"), std::string::npos) << text;

  WriteRegistry("[]");
  EXPECT_NE(LoadError().find("\"classes\" list"), std::string::npos);

  WriteRegistry(R"({"classes": [{"progid": "A", "clsid": "{AAAAAAAA-0000-0000-0000-000000000001}",
                 "server": "/a.so"}, {"progid": "B", "server": "/b.so"}]})");
  text = LoadError();
  EXPECT_NE(text.find("entry 2: \"clsid\""), std::string::npos) << text;

  WriteRegistry(R"({"classes": [{"progid": "A", "clsid": "not-a-guid", "server": "/a.so"}]})");
  EXPECT_NE(LoadError().find("not a class id"), std::string::npos);

  // Beyond a double: the parser's out-of-range error, not a parse error.
  WriteRegistry("{\"classes\": [], \"n\": 1e99999}");
  text = LoadError();
  EXPECT_NE(text.find("is damaged: "), std::string::npos) << text;
}

TEST_F(RegistryTest, DamagedFileIsLeftAloneByUpdates) {
  WriteRegistry("{broken");
  EXPECT_THROW(UpdateClassRegistry(registry_file(), [](ClassRegistry&) {}), Error);
  EXPECT_EQ(ReadRegistry(), "{broken");
}

TEST_F(RegistryTest, ConcurrentUpdatesLoseNothing) {
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([this, i] {
      char clsid[64];
      std::snprintf(clsid, sizeof clsid, "{AAAAAAAA-0000-0000-0000-%012d}", i);
      UpdateClassRegistry(registry_file(), [&](ClassRegistry& r) {
        r.Register({"Class." + std::to_string(i), clsid, "/x.so"});
      });
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(ClassRegistry::Load(registry_file()).entries().size(), 8u);
}

TEST_F(RegistryTest, UnwritableLocationIsAClearError) {
  WriteRegistry("{\"classes\": []}");
  const fs::path blocked = dir() / "file-not-folder";
  std::ofstream(blocked) << "x";
  try {
    ClassRegistry{}.Save(blocked / "classes.json");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kFileAccess);
    EXPECT_NE(e.description().find("file-not-folder"), std::string::npos);
  }
}

}  // namespace
}  // namespace vt::automation
