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
using system::RandomRWFile;
using system::SystemError;
using test::TempDir;

enum class Step {
  kLock,
  kCreate,
  kWrite,
  kSync,
  kReplace,
  // The save in place: opening the file, the new sectors, their flush, the
  // header and its flush.
  kOpen,
  kWriteInPlace,
  kSyncInPlace,
  kHeader,
  kHeaderSync,
};

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

  std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path) override {
    Maybe(Step::kOpen, path);
    return std::make_unique<InPlace>(*this, EnvWrapper::NewRandomRWFile(path), path);
  }

 private:
  class InPlace : public RandomRWFile {
   public:
    InPlace(FailingEnv& env, std::unique_ptr<RandomRWFile> real, std::string path)
        : env_(env), real_(std::move(real)), path_(std::move(path)) {}
    system::FileStamp Stamp() override { return real_->Stamp(); }
    void Write(std::uint64_t offset, std::string_view bytes) override {
      if (offset == 0) {
        header_ = true;
        env_.Maybe(Step::kHeader, path_);
      } else if (env_.Fails(Step::kWriteInPlace)) {
        real_->Write(offset, bytes.substr(0, bytes.size() / 2));
        env_.Maybe(Step::kWriteInPlace, path_);
      }
      real_->Write(offset, bytes);
    }
    void Sync() override {
      env_.Maybe(header_ ? Step::kHeaderSync : Step::kSyncInPlace, path_);
      real_->Sync();
    }
    void Truncate(std::uint64_t size) override { real_->Truncate(size); }

   private:
    FailingEnv& env_;
    std::unique_ptr<RandomRWFile> real_;
    std::string path_;
    bool header_ = false;
  };

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
  // Fails once: what the engine does to repair the failure then succeeds.
  void Maybe(Step step, const std::string& path) {
    if (!Fails(step)) return;
    armed = false;
    throw SystemError(error_, "Cannot write the file '" + path + "'");
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
    bool in_place;  // a workbook big enough to be changed in place
  };
  const Case cases[] = {
      {Step::kLock, EIO, "cannot lock the folder", false},
      {Step::kCreate, ENOSPC, "cannot create a temporary file", false},
      {Step::kWrite, ENOSPC, "cannot write the workbook", false},
      {Step::kWrite, EIO, "cannot write the workbook", false},
      {Step::kSync, EIO, "cannot flush the workbook to disk", false},
      {Step::kSync, ENOSPC, "cannot flush the workbook to disk", false},
      {Step::kReplace, EIO, "cannot replace the workbook", false},
      {Step::kOpen, EACCES, "cannot open the workbook for writing", true},
      {Step::kWriteInPlace, ENOSPC, "cannot write the workbook", true},
      {Step::kSyncInPlace, EIO, "cannot flush the workbook to disk", true},
      {Step::kHeader, EIO, "cannot write the workbook's header", true},
      // The header reached the file but its flush failed: the old one is put back.
      {Step::kHeaderSync, EIO, "cannot write the workbook's header", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says + std::string(" / ") + std::strerror(c.error));
    TempDir dir;
    const auto file = dir / "Veltrano.xls";
    Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
    if (c.in_place) {
      Workbook seed = Workbook::Open(file);
      for (int i = 0; i < 400; ++i)
        seed.FindSheet("Dictionary")->AppendRow(0, "Row " + std::to_string(i));
      seed.Save();
    }
    Workbook book = Workbook::Open(file);
    const std::size_t row = book.FindSheet("Dictionary")->AppendRow(0, "Boiler");
    // A sheet added in the same save (not in place: it moves the sheets).
    if (!c.in_place) book.AddSheet("Where used")->SetCellText(1, 1, "Kessel");
    const auto before = test::ReadBytes(file);

    FailingEnv env(c.step, c.error);
    {
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
    }
    // What a failed save in place added past the old version's end is cut off.
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_EQ(EntriesIn(dir.path()), 1U);  // no temporary file behind
    EXPECT_TRUE(book.HasPendingEdits());

    // The disk has room again: the same edits are saved, once.
    book.Save();
    EXPECT_FALSE(book.HasPendingEdits());
    Workbook again = Workbook::Open(file);
    EXPECT_EQ(again.FindSheet("Dictionary")->CellText(row, 0), "Boiler");
    EXPECT_EQ(again.FindSheet("Dictionary")->RowCount(), row + 1);
    if (!c.in_place) {
      EXPECT_EQ(again.SheetNames().size(), 2u);
      EXPECT_EQ(again.FindSheet("Where used")->CellText(1, 1), "Kessel");
    }
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
