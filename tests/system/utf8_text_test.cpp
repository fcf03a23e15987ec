// Paths and environment variables of non-ASCII names, the same on both
// builds: what one conversion writes, the other (Env's, the process's
// environment) must read back under the same UTF-8 name.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/system/env.h"
#include "platform/system/environment_variables.h"
#include "platform/system/utf8_path.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace vt::system {
namespace {

const char* const kNames[] = {"Übersicht", "工厂", "Kessel 😀", "plain"};

TEST(Utf8Path, FilesMadeThroughPathsAreFoundByTheirUtf8Names) {
  testing::TempDir dir;
  const std::string folder = Utf8FromPath(dir.path());
  for (const char* name : kNames) {
    SCOPED_TRACE(name);
    const std::filesystem::path folder_path = PathFromUtf8(folder + "/" + name);
    std::filesystem::create_directory(folder_path);
    EXPECT_EQ(Utf8FromPath(folder_path.filename()), name);
    std::ofstream(folder_path / PathFromUtf8(std::string(name) + ".grf")) << "x";
    const std::string file = folder + "/" + name + "/" + name + ".grf";
    EXPECT_TRUE(CurrentEnv().FileExists(file));
    EXPECT_EQ(CurrentEnv().ListFiles(folder + "/" + name, "*.grf"),
              std::vector<std::string>{std::string(name) + ".grf"});
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(file)), file);
  }
}

TEST(Utf8Environment, ValuesComeBackAsSet) {
  for (const char* name : kNames) {
    SCOPED_TRACE(name);
    const std::string value = std::string("C:\\") + name + "\\pictures";
    {
      testing::ScopedEnvVar variable("VT_UTF8_TEST", value);
      EXPECT_EQ(ReadEnvironmentVariable("VT_UTF8_TEST"), value);
    }
    EXPECT_EQ(ReadEnvironmentVariable("VT_UTF8_TEST"), std::nullopt);
  }
}

}  // namespace
}  // namespace vt::system
