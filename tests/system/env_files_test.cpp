#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/system/env.h"
#include "tests/support/temp_dir.h"

namespace vt::system {
namespace {

using vt::testing::ReadFile;
using vt::testing::TempDir;
using vt::testing::WriteFile;

Env& env() { return *Env::Default(); }

TEST(FileExists, OrdinaryFilesOnly) {
  TempDir dir;
  WriteFile(dir / "plain.txt", "x");
  WriteFile(dir / ".hidden", "x");
  ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("plain.txt", (dir / "link").c_str()), 0);
  ASSERT_EQ(::symlink("gone.txt", (dir / "dangling").c_str()), 0);

  EXPECT_TRUE(env().FileExists(dir / "plain.txt"));
  EXPECT_TRUE(env().FileExists(dir / "link"));  // a link counts as what it names
  EXPECT_FALSE(env().FileExists(dir / ".hidden"));
  EXPECT_FALSE(env().FileExists(dir / "folder"));
  EXPECT_FALSE(env().FileExists(dir / "pipe"));
  EXPECT_FALSE(env().FileExists(dir / "dangling"));
  EXPECT_FALSE(env().FileExists(dir / "missing"));
  EXPECT_FALSE(env().FileExists("/dev/null"));

  EXPECT_TRUE(env().DirectoryExists(dir / "folder"));
  EXPECT_TRUE(env().DirectoryExists(dir / "folder/"));
  EXPECT_FALSE(env().DirectoryExists(dir / "plain.txt"));
}

TEST(FileExists, HiddenFolderOnTheWayDoesNotHideTheFile) {
  TempDir dir;
  ASSERT_EQ(::mkdir((dir / ".config").c_str(), 0755), 0);
  WriteFile(dir / ".config/Veltrano.ini", "x");
  EXPECT_TRUE(env().FileExists(dir / ".config/Veltrano.ini"));
  EXPECT_FALSE(env().DirectoryExists(dir / ".config"));
}

// The names in the order readdir gives them, which is what the listing must keep.
std::vector<std::string> RawOrder(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);
  return names;
}

TEST(IsSameFile, EveryNameOfOneFileAndNoOther) {
  TempDir dir;
  WriteFile(dir / "book.xls", "x");
  WriteFile(dir / "copy.xls", "x");
  ASSERT_EQ(::symlink("book.xls", (dir / "link.xls").c_str()), 0);
  ASSERT_EQ(::link((dir / "book.xls").c_str(), (dir / "hard.xls").c_str()), 0);
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);
  const std::string book = dir / "book.xls";
  const struct {
    std::string other;
    bool same;
  } cases[] = {
      {book, true},
      {(dir / "sub/../book.xls").string(), true},
      {(dir / "link.xls").string(), true},
      {(dir / "hard.xls").string(), true},
      {(dir / "copy.xls").string(), false},
      {(dir / "Book.xls").string(), false},  // another name on a file system that tells case
      {(dir / "missing.xls").string(), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(env().IsSameFile(book, c.other), c.same) << c.other;
    EXPECT_EQ(env().IsSameFile(c.other, book), c.same) << c.other;
  }
  EXPECT_THROW(env().IsSameFile(book, std::string(5000, 'x')), SystemError);  // ENAMETOOLONG
}

TEST(ListFiles, MatchesPatternInListingOrderSkippingHiddenAndFolders) {
  TempDir dir;
  for (const char* name : {"Main.grf", "alarms.GRF", "b.grf", "notes.txt", ".hidden.grf",
                           "Main.grf.bak", "x.grfx", "grf"}) {
    WriteFile(dir / name, "x");
  }
  ASSERT_EQ(::mkdir((dir / "folder.grf").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("b.grf", (dir / "link.grf").c_str()), 0);
  ASSERT_EQ(::symlink("nowhere", (dir / "dangling.grf").c_str()), 0);

  std::vector<std::string> expected;
  for (const auto& name : RawOrder(dir.path())) {
    if (name == "Main.grf" || name == "alarms.GRF" || name == "b.grf" || name == "link.grf") {
      expected.push_back(name);
    }
  }
  EXPECT_EQ(env().ListFiles(dir.path(), "*.grf"), expected);
}

TEST(ListFiles, PrefixPatternAndMissingFolder) {
  TempDir dir;
  for (const char* name : {"EULA-EN.txt", "eula-it.TXT", "EULA.pdf", "MYEULA-x.txt"}) {
    WriteFile(dir / name, "x");
  }
  auto found = env().ListFiles(dir.path(), "EULA*.txt");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"EULA-EN.txt", "eula-it.TXT"}));
  EXPECT_TRUE(env().ListFiles(dir / "missing", "*").empty());
  EXPECT_TRUE(env().ListFiles(dir / "EULA.pdf", "*").empty());
}

TEST(WriteFileAtomic, ReplacesContentsKeepsModeAndFollowsLinks) {
  TempDir dir;
  const std::string file = dir / "data.bin";
  WriteFile(file, "old contents");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  ASSERT_EQ(::symlink("data.bin", (dir / "alias").c_str()), 0);

  const std::string binary("a\0b\r\n\xff", 6);
  env().WriteFileAtomic(dir / "alias", binary);
  EXPECT_EQ(ReadFile(file), binary);
  struct stat info {};
  ASSERT_EQ(::lstat((dir / "alias").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600U);
  EXPECT_EQ(RawOrder(dir.path()).size(), 4U);  // ".", "..", the file, the link
}

TEST(WriteFileAtomic, NeverReplacesWhatIsNoOrdinaryFile) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
  ASSERT_EQ(::mkdir((dir / "folder").c_str(), 0755), 0);
  for (const char* name : {"pipe", "folder"}) {
    EXPECT_THROW(env().WriteFileAtomic(dir / name, "x"), SystemError) << name;
  }
  struct stat info {};
  ASSERT_EQ(::stat((dir / "pipe").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(RawOrder(dir.path()).size(), 4U);  // no temporary left
}

TEST(WriteFileAtomic, FailureNamesThePathAndLeavesNothing) {
  TempDir dir;
  try {
    env().WriteFileAtomic(dir / "no-folder/file", "x");
    FAIL() << "expected an error";
  } catch (const SystemError& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_NE(std::string(error.what()).find(dir / "no-folder/file"), std::string::npos);
  }
  EXPECT_EQ(RawOrder(dir.path()).size(), 2U);
}

TEST(RemoveStaleTemporaries, TakesWhatDeadWritersLeftNotWhatLivingOnesWrite) {
  TempDir dir;
  const std::string file = dir / "Veltrano.xls";
  WriteFile(file, "old");
  // A dead writer's temporary: no process holds a lock on it.
  WriteFile(dir / ".Veltrano.xls.tmp-dead01", "half");
  auto living = env().NewAtomicFile(file);
  living->Append("new");
  env().RemoveStaleTemporaries(file);
  EXPECT_EQ(RawOrder(dir.path()).size(), 4U);  // ".", "..", the file, the living one's
  living->Sync();
  living->Commit();
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(RawOrder(dir.path()).size(), 3U);
}

TEST(RandomRWFile, WritesInPlaceCutsBackAndNeverCreates) {
  TempDir dir;
  const std::string file = dir / "data.bin";
  WriteFile(file, "0123456789");
  auto rw = env().NewRandomRWFile(file);
  const auto before = rw->Stamp();
  rw->Write(12, "tail");
  rw->Write(0, "AB");
  rw->Sync();
  EXPECT_EQ(ReadFile(file), std::string("AB23456789\0\0tail", 16));
  EXPECT_NE(rw->Stamp(), before);
  rw->Truncate(10);
  EXPECT_EQ(ReadFile(file), "AB23456789");
  try {
    env().NewRandomRWFile(dir / "missing.bin");
    FAIL() << "expected an error";
  } catch (const SystemError& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_NE(std::string(error.what()).find(dir / "missing.bin"), std::string::npos);
  }
  EXPECT_EQ(RawOrder(dir.path()).size(), 3U);
}

TEST(LockForWriting, TakenWithoutWaitingIsNoneWhileHeld) {
  TempDir dir;
  const std::string file = dir / "Veltrano.xls";
  auto held = env().LockForWriting(file);
  EXPECT_EQ(env().TryLockForWriting(file), nullptr);
  held.reset();
  EXPECT_NE(env().TryLockForWriting(file), nullptr);
}

TEST(AppendToFile, CreatesThenAppends) {
  TempDir dir;
  const std::string log = dir / "Veltrano.log";
  env().AppendToFile(log, "one\r\n");
  env().AppendToFile(log, "two\r\n");
  EXPECT_EQ(ReadFile(log), "one\r\ntwo\r\n");
  EXPECT_THROW(env().AppendToFile(dir / "none/x.log", "x"), SystemError);
}

TEST(ReadFile, WholeFileOrErrorNamingIt) {
  TempDir dir;
  const std::string big(200000, 'z');
  WriteFile(dir / "big", big);
  EXPECT_EQ(env().ReadFile(dir / "big"), big);
  try {
    env().ReadFile(dir / "missing");
    FAIL();
  } catch (const SystemError& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_NE(std::string(error.what()).find("missing"), std::string::npos);
  }
}

TEST(CopyFile, NewTargetTakesTheSourceModeAnExistingOneKeepsItsOwn) {
  TempDir dir;
  WriteFile(dir / "src", "template");
  ASSERT_EQ(::chmod((dir / "src").c_str(), 0640), 0);
  WriteFile(dir / "dst", "something longer than the template");
  ASSERT_EQ(::chmod((dir / "dst").c_str(), 0604), 0);
  env().CopyFile(dir / "src", dir / "dst");
  env().CopyFile(dir / "src", dir / "new");
  EXPECT_EQ(ReadFile(dir / "dst"), "template");
  struct stat info {};
  ASSERT_EQ(::stat((dir / "dst").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604U);
  ASSERT_EQ(::stat((dir / "new").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U);
  EXPECT_THROW(env().CopyFile(dir / "missing", dir / "dst2"), SystemError);
  EXPECT_THROW(env().CopyFile(dir.path(), dir / "dst3"), SystemError);
  EXPECT_FALSE(env().FileExists(dir / "dst2"));
  EXPECT_FALSE(env().FileExists(dir / "dst3"));
}

// A file without its owner's write permission is read-only, as Windows' read-
// only attribute makes it: no writer replaces or changes it, root included.
// A writable one keeps its mode and, where the process may give it, its owner.
TEST(ReplacingAFile, ReadOnlyIsRefusedModeAndOwnerAreKept) {
  TempDir dir;
  WriteFile(dir / "src", "new");
  const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> writers{
      {"WriteFileAtomic", [](const std::string& f) { env().WriteFileAtomic(f, "new"); }},
      {"CopyFile", [&dir](const std::string& f) { env().CopyFile(dir / "src", f); }},
      {"NewRandomRWFile", [](const std::string& f) { env().NewRandomRWFile(f)->Write(0, "new"); }},
  };
  const bool root = ::geteuid() == 0;
  for (const auto& [writer, write] : writers) {
    for (const mode_t mode : {0444U, 0400U, 0464U, 0644U, 0600U}) {
      SCOPED_TRACE(std::string(writer) + " over mode " + std::to_string(mode));
      const std::string file = dir / "file";
      WriteFile(file, "old");
      ASSERT_EQ(::chmod(file.c_str(), mode), 0);
      if (root) {
        ASSERT_EQ(::chown(file.c_str(), 4321, 4322), 0);
      }
      struct stat before {};
      ASSERT_EQ(::stat(file.c_str(), &before), 0);
      if ((mode & S_IWUSR) == 0) {
        try {
          write(file);
          ADD_FAILURE() << "replaced";
        } catch (const ReadOnlyFileError& e) {
          EXPECT_EQ(e.code().value(), EACCES);
          EXPECT_NE(std::string(e.what()).find(file + "': it is read-only"), std::string::npos)
              << e.what();
        }
        EXPECT_EQ(ReadFile(file), "old");
      } else {
        write(file);
        EXPECT_EQ(ReadFile(file), "new");
      }
      struct stat after {};
      ASSERT_EQ(::stat(file.c_str(), &after), 0);
      EXPECT_EQ(after.st_mode & 07777, mode);
      EXPECT_EQ(after.st_uid, before.st_uid);
      EXPECT_EQ(after.st_gid, before.st_gid);
      EXPECT_EQ(RawOrder(dir.path()).size(), 4U);  // ".", "..", src, file: no temporary
      ASSERT_EQ(::unlink(file.c_str()), 0);
    }
  }
}

TEST(CreateDirectory, OneLevelOnly) {
  TempDir dir;
  env().CreateDirectory(dir / "Veltrano");
  EXPECT_TRUE(env().DirectoryExists(dir / "Veltrano"));
  EXPECT_THROW(env().CreateDirectory(dir / "Veltrano"), SystemError);
  EXPECT_THROW(env().CreateDirectory(dir / "a/b"), SystemError);
}

}  // namespace
}  // namespace vt::system
