#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

// Each test gets its own folder and class registry (through
// VELTRANO_CLASS_REGISTRY), so the user's real registry is never touched.
class TempRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vt-automation-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    if (const char* old = getenv("VELTRANO_CLASS_REGISTRY")) saved_ = old;
    setenv("VELTRANO_CLASS_REGISTRY", registry_file().c_str(), 1);
  }

  void TearDown() override {
    if (saved_) {
      setenv("VELTRANO_CLASS_REGISTRY", saved_->c_str(), 1);
    } else {
      unsetenv("VELTRANO_CLASS_REGISTRY");
    }
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path registry_file() const { return dir_ / "config" / "classes.json"; }

  void WriteRegistry(const std::string& text) const {
    std::filesystem::create_directories(registry_file().parent_path());
    std::ofstream(registry_file(), std::ios::binary) << text;
  }

 private:
  std::filesystem::path dir_;
  std::optional<std::string> saved_;
};
