// Saves that fail part way, at each step of the durable write, through an Env
// that refuses one step: the workbook on disk stays as it was, no temporary
// file is left, the edits stay pending and the error says what failed.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "platform/system/env.h"
#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook {
namespace {

using system::AtomicFile;
using system::EnvWrapper;
using system::FileLock;
using system::SystemError;
using test::TempDir;

enum class Step { kLock, kCreate, kWrite, kSync, kReplace };

class FailingEnv : public EnvWrapper {
 public:
  FailingEnv(Step step, int error)
      : EnvWrapper(system::Env::Default()), step_(step), error_(error) {}
  bool armed = true;

  std::unique_ptr<FileLock> LockForWriting(const std::string& path) override {
    Maybe(Step::kLock, path);
    return EnvWrapper::LockForWriting(path);
  }

  std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path) override {
    Maybe(Step::kCreate, path);
    return std::make_unique<File>(*this, EnvWrapper::NewAtomicFile(path), path);
  }

 private:
  // Passes every step to the real file but the one that fails; a failed
  // write has written half of its bytes first, as a full disk does.
  class File : public AtomicFile {
   public:
    File(FailingEnv& env, std::unique_ptr<AtomicFile> real, std::string path)
        : env_(env), real_(std::move(real)), path_(std::move(path)) {}
    void Append(std::string_view bytes) override {
      if (env_.Fails(Step::kWrite)) {
        real_->Append(bytes.substr(0, bytes.size() / 2));
        env_.Maybe(Step::kWrite, path_);
      }
      real_->Append(bytes);
    }
    void Sync() override {
      env_.Maybe(Step::kSync, path_);
      real_->Sync();
    }
    void Commit() override {
      env_.Maybe(Step::kReplace, path_);
      real_->Commit();
    }

   private:
    FailingEnv& env_;
    std::unique_ptr<AtomicFile> real_;
    std::string path_;
  };

  bool Fails(Step step) const { return armed && step == step_; }
  void Maybe(Step step, const std::string& path) const {
    if (Fails(step)) throw SystemError(error_, "Cannot write the file '" + path + "'");
  }

  Step step_;
  int error_;
};

std::size_t EntriesIn(const std::filesystem::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(FailedSave, EveryStepLeavesTheOldFileAndKeepsTheEdits) {
  struct Case {
    Step step;
    int error;
    const char* says;
  };
  const Case cases[] = {
      {Step::kLock, EIO, "cannot lock the folder"},
      {Step::kCreate, ENOSPC, "cannot create a temporary file"},
      {Step::kWrite, ENOSPC, "cannot write the workbook"},
      {Step::kWrite, EIO, "cannot write the workbook"},
      {Step::kSync, EIO, "cannot flush the workbook to disk"},
      {Step::kSync, ENOSPC, "cannot flush the workbook to disk"},
      {Step::kReplace, EIO, "cannot replace the workbook"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says + std::string(" / ") + std::strerror(c.error));
    TempDir dir;
    const auto file = dir / "Veltrano.xls";
    Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
    Workbook book = Workbook::Open(file);
    book.FindSheet("Dictionary")->AppendRow(0, "Boiler");
    const auto before = test::ReadBytes(file);

    FailingEnv env(c.step, c.error);
    system::ScopedEnvOverride use(&env);
    try {
      book.Save();
      ADD_FAILURE() << "the save did not fail";
    } catch (const Error& e) {
      const std::string text = e.what();
      EXPECT_NE(text.find(file.string()), std::string::npos) << text;
      EXPECT_NE(text.find(c.says), std::string::npos) << text;
      EXPECT_NE(text.find(std::strerror(c.error)), std::string::npos) << text;
    }
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_EQ(EntriesIn(dir.path()), 1U);  // no temporary file behind
    EXPECT_TRUE(book.HasPendingEdits());

    env.armed = false;  // the disk has room again: the same edits are saved
    book.Save();
    EXPECT_FALSE(book.HasPendingEdits());
    EXPECT_EQ(Workbook::Open(file).FindSheet("Dictionary")->CellText(1, 0), "Boiler");
  }
}

TEST(FailedSave, ACreationThatFailsLeavesNoFile) {
  TempDir dir;
  const auto file = dir / "Veltrano.xls";
  FailingEnv env(Step::kSync, ENOSPC);
  system::ScopedEnvOverride use(&env);
  EXPECT_THROW(Workbook::CreateDictionary(file, "Dictionary", {"Language_1"}), Error);
  EXPECT_EQ(EntriesIn(dir.path()), 0U);
}

}  // namespace
}  // namespace vt::workbook
