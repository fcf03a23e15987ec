#include "platform/system/private_profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>

#include "platform/system/env.h"
#include "tests/support/temp_dir.h"

namespace vt::system {
namespace {

using vt::testing::ReadFile;
using vt::testing::TempDir;
using vt::testing::WriteFile;

std::string Get(const std::string& path, std::string_view section, std::string_view key,
                std::size_t size = 100, std::string_view fallback = "") {
  return GetPrivateProfileString(section, key, fallback, size, path);
}

class PrivateProfileRead : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(ini_,
              "; settings\r\n"
              "orphan=before any section\r\n"
              "[PARAMETERS]\r\n"
              "InterpreterEnabled=Y\r\n"
              "  startinglanguagenumber  =   2   \r\n"
              "ObjectsTargetPrefix=\t lbl \t\r\n"
              "Quoted=\"  spaced  \"\r\n"
              "Half=\"open\r\n"
              "Empty=\r\n"
              ";InterpreterEnabled=commented\r\n"
              "no equals sign here\r\n"
              "interpreterenabled=second\r\n"
              "Equation=a=b\r\n"
              "[ usersLang ]\r\n"
              "UserName_001=OPERATOR\r\n"
              "[Parameters]\r\n"
              "ShowInfoPanelOnStartup=from second section\r\n"
              "[Last]\n"
              "NoEol=tail");
  }
  TempDir dir_;
  std::string ini_ = dir_ / "Veltrano.ini";
};

TEST_F(PrivateProfileRead, NamesIgnoreCaseAndBlanks) {
  EXPECT_EQ(Get(ini_, "parameters", "INTERPRETERENABLED"), "Y");
  EXPECT_EQ(Get(ini_, "PARAMETERS", "StartingLanguageNumber"), "2");
  EXPECT_EQ(Get(ini_, "USERSLANG", "username_001"), "OPERATOR");
}

TEST_F(PrivateProfileRead, FirstSectionAndFirstKeyWin) {
  EXPECT_EQ(Get(ini_, "PARAMETERS", "InterpreterEnabled"), "Y");
  // Only the first [PARAMETERS] is searched, as Win32 does.
  EXPECT_EQ(Get(ini_, "PARAMETERS", "ShowInfoPanelOnStartup", 100, "dflt"), "dflt");
}

TEST_F(PrivateProfileRead, ValuesTrimmedAndUnquoted) {
  EXPECT_EQ(Get(ini_, "PARAMETERS", "ObjectsTargetPrefix"), "lbl");
  EXPECT_EQ(Get(ini_, "PARAMETERS", "Quoted"), "  spaced  ");
  EXPECT_EQ(Get(ini_, "PARAMETERS", "Half"), "\"open");
  EXPECT_EQ(Get(ini_, "PARAMETERS", "Equation"), "a=b");
  EXPECT_EQ(Get(ini_, "PARAMETERS", "Empty", 100, "dflt"), "");
  EXPECT_EQ(Get(ini_, "Last", "NoEol"), "tail");
}

TEST_F(PrivateProfileRead, CommentsLinesWithoutEqualsAndOrphansIgnored) {
  EXPECT_EQ(Get(ini_, "PARAMETERS", "no equals sign here", 100, "d"), "d");
  EXPECT_EQ(Get(ini_, "PARAMETERS", ";InterpreterEnabled", 100, "d"), "d");
  EXPECT_EQ(Get(ini_, "", "orphan", 100, "d"), "d");
}

TEST_F(PrivateProfileRead, MissingKeySectionOrFileGiveDefault) {
  EXPECT_EQ(Get(ini_, "PARAMETERS", "Nope", 100, "fallback  "), "fallback");
  EXPECT_EQ(Get(ini_, "NOSECTION", "InterpreterEnabled", 100, "x"), "x");
  EXPECT_EQ(Get(dir_ / "missing.ini", "PARAMETERS", "InterpreterEnabled", 100, "x"), "x");
  EXPECT_EQ(Get(dir_.path(), "PARAMETERS", "InterpreterEnabled", 100, "x"), "x");
}

TEST(PrivateProfileBuffer, KeepsAtMostSizeMinusOneBytesWithoutSplittingUtf8) {
  TempDir dir;
  const std::string ini = dir / "b.ini";
  const std::string long_value(120, 'a');
  // 98 ASCII bytes then "é" (2 bytes): byte 99 would split it.
  const std::string accent = std::string(98, 'x') + "\xC3\xA9" + "yz";
  // 97 bytes then a 4-byte emoji.
  const std::string emoji = std::string(97, 'x') + "\xF0\x9F\x98\x80";
  WriteFile(ini,
            "[S]\nLong=" + long_value + "\nAccent=" + accent + "\nEmoji=" + emoji + "\nShort=ab\n");
  EXPECT_EQ(GetPrivateProfileString("S", "Long", "", 100, ini), std::string(99, 'a'));
  EXPECT_EQ(GetPrivateProfileString("S", "Accent", "", 100, ini), std::string(98, 'x'));
  EXPECT_EQ(GetPrivateProfileString("S", "Accent", "", 101, ini), accent.substr(0, 100));
  EXPECT_EQ(GetPrivateProfileString("S", "Emoji", "", 100, ini), std::string(97, 'x'));
  EXPECT_EQ(GetPrivateProfileString("S", "Emoji", "", 102, ini), emoji);
  EXPECT_EQ(GetPrivateProfileString("S", "Short", "", 2, ini), "a");
  EXPECT_EQ(GetPrivateProfileString("S", "Short", "", 1, ini), "");
  EXPECT_EQ(GetPrivateProfileString("S", "Short", "", 0, ini), "");
  EXPECT_EQ(GetPrivateProfileString("S", "Missing", "default", 4, ini), "def");
}

TEST(PrivateProfileBuffer, Utf8ByteOrderMarkIsNotPartOfTheFirstSection) {
  TempDir dir;
  const std::string ini = dir / "bom.ini";
  WriteFile(ini, "\xEF\xBB\xBF[PARAMETERS]\r\nKey=v\r\n");
  EXPECT_EQ(GetPrivateProfileString("PARAMETERS", "Key", "", 100, ini), "v");
}

// Hidden temporary files included.
std::ptrdiff_t EntriesIn(const std::string& folder) {
  return std::distance(std::filesystem::directory_iterator(folder),
                       std::filesystem::directory_iterator());
}

class PrivateProfileWrite : public ::testing::Test {
 protected:
  bool Write(std::string_view section, std::string_view key, std::string_view value) {
    return WritePrivateProfileString(section, key, value, ini_, &error_);
  }
  TempDir dir_;
  std::string ini_ = dir_ / "Veltrano.ini";
  std::string error_;
};

TEST_F(PrivateProfileWrite, ChangesOneValueAndKeepsEveryOtherByte) {
  const std::string before =
      "; keep me\r\n[PARAMETERS]\r\nInterpreterEnabled = Y   \r\n"
      "DevelopmentLanguageNumber=1\r\n  startinglanguagenumber =  1  \r\n"
      "StartingLanguageNumber=9\r\n\r\n[USERSLANG]\r\nUserName_001=OP\r\n";
  WriteFile(ini_, before);
  ASSERT_TRUE(Write("parameters", "StartingLanguageNumber", "3")) << error_;
  EXPECT_EQ(ReadFile(ini_),
            "; keep me\r\n[PARAMETERS]\r\nInterpreterEnabled = Y   \r\n"
            "DevelopmentLanguageNumber=1\r\n  startinglanguagenumber =  3\r\n"
            "StartingLanguageNumber=9\r\n\r\n[USERSLANG]\r\nUserName_001=OP\r\n");
  EXPECT_EQ(GetPrivateProfileString("PARAMETERS", "StartingLanguageNumber", "", 100, ini_), "3");
}

TEST_F(PrivateProfileWrite, AddsMissingKeyAtEndOfSectionInFileLineEnding) {
  WriteFile(ini_, "[A]\r\nx=1\r\n\r\n[B]\r\ny=2");
  ASSERT_TRUE(Write("a", "New", "v")) << error_;
  ASSERT_TRUE(Write("B", "z", "3")) << error_;
  EXPECT_EQ(ReadFile(ini_), "[A]\r\nx=1\r\nNew=v\r\n\r\n[B]\r\ny=2\r\nz=3\r\n");
}

TEST_F(PrivateProfileWrite, ALastLineEndingInALoneCrKeepsItsValue) {
  // The CR reads as the line's end; a second one would join the value.
  for (const char* section : {"A", "B"}) {
    SCOPED_TRACE(section);
    WriteFile(ini_, "[A]\r\nx=1\r");
    ASSERT_TRUE(Write(section, "y", "2")) << error_;
    EXPECT_EQ(GetPrivateProfileString("A", "x", "", 100, ini_), "1");
    EXPECT_EQ(ReadFile(ini_).substr(0, 10), "[A]\r\nx=1\r\n");
  }
}

TEST_F(PrivateProfileWrite, AddsMissingSectionAndCreatesMissingFile) {
  WriteFile(ini_, "[A]\nx=1");
  ASSERT_TRUE(Write("PARAMETERS", "DevelopmentLanguageNumber", "2")) << error_;
  EXPECT_EQ(ReadFile(ini_), "[A]\nx=1\n[PARAMETERS]\nDevelopmentLanguageNumber=2\n");

  const std::string fresh = dir_ / "fresh.ini";
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", fresh, &error_)) << error_;
  EXPECT_EQ(ReadFile(fresh), "[S]\nk=v\n");
}

TEST_F(PrivateProfileWrite, KeepsPermissionsAndLeavesNoTemporaryFile) {
  WriteFile(ini_, "[S]\nk=1\n");
  ASSERT_EQ(::chmod(ini_.c_str(), 0640), 0);
  ASSERT_TRUE(Write("S", "k", "2")) << error_;
  struct stat info {};
  ASSERT_EQ(::stat(ini_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640U);
  EXPECT_EQ(EntriesIn(dir_.path()), 1);
}

TEST_F(PrivateProfileWrite, RejectsTextThatWouldBreakTheFile) {
  const std::string before = "[S]\nk=1\n";
  WriteFile(ini_, before);
  EXPECT_FALSE(Write("S", "k", "two\nlines"));
  EXPECT_NE(error_.find("line break"), std::string::npos);
  EXPECT_NE(error_.find(ini_), std::string::npos);
  EXPECT_FALSE(Write("S", "a=b", "1"));
  EXPECT_FALSE(Write("S]", "k", "1"));
  EXPECT_FALSE(Write("", "k", "1"));
  EXPECT_FALSE(Write("S", "  ", "1"));
  EXPECT_FALSE(Write("S", ";k", "1"));
  EXPECT_FALSE(Write("S", "k", std::string_view("a\0b", 3)));
  EXPECT_EQ(ReadFile(ini_), before);
}

TEST_F(PrivateProfileWrite, ReadOnlyFolderIsAFailureAndTheFileStays) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const std::string before = "[S]\nk=1\n";
  WriteFile(ini_, before);
  ASSERT_EQ(::chmod(dir_.path().c_str(), 0555), 0);
  EXPECT_FALSE(Write("S", "k", "2"));
  EXPECT_NE(error_.find(ini_), std::string::npos) << error_;
  EXPECT_EQ(ReadFile(ini_), before);
}

// The same failure as a read-only folder, for any user: the write is refused
// by the operating system, through the Env.
TEST_F(PrivateProfileWrite, FailedWriteIsReportedAndTheFileStays) {
  class FailingWrites : public EnvWrapper {
   public:
    FailingWrites() : EnvWrapper(Env::Default()) {}
    void WriteFileAtomic(const std::string& path, std::string_view) override {
      throw SystemError(EROFS, "Cannot write the file '" + path + "'");
    }
  } env;
  ScopedEnvOverride use(&env);
  const std::string before = "[S]\nk=1\n";
  WriteFile(ini_, before);
  EXPECT_FALSE(Write("S", "k", "2"));
  EXPECT_NE(error_.find("Read-only file system"), std::string::npos) << error_;
  EXPECT_EQ(ReadFile(ini_), before);
}

// A real refusal that even root meets: the file-size limit stops the write of
// the temporary copy half way.
TEST_F(PrivateProfileWrite, WriteStoppedHalfWayLeavesFileAndFolderAsTheyWere) {
  const std::string before = "[S]\nk=1\n" + std::string(4000, ';') + "\n";
  WriteFile(ini_, before);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = Write("S", "k", "2");
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_NE(error_.find("too large"), std::string::npos) << error_;
  EXPECT_EQ(ReadFile(ini_), before);
  EXPECT_EQ(EntriesIn(dir_.path()), 1);  // no temporary file left behind
}

TEST_F(PrivateProfileWrite, LongFileNamesStillWriteAtomically) {
  ini_ = dir_ / (std::string(240, 'n') + ".ini");
  WriteFile(ini_, "[S]\nk=1\n");
  ASSERT_TRUE(Write("S", "k", "2")) << error_;
  EXPECT_EQ(ReadFile(ini_), "[S]\nk=2\n");
}

TEST_F(PrivateProfileWrite, UnreadableTargetIsNeverOverwritten) {
  ASSERT_EQ(::mkdir(ini_.c_str(), 0755), 0);  // a folder where the file should be
  EXPECT_FALSE(Write("S", "k", "2"));
  EXPECT_NE(error_.find(ini_), std::string::npos) << error_;
  struct stat info {};
  ASSERT_EQ(::stat(ini_.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir_ / "no/such/folder.ini"));
}

TEST_F(PrivateProfileWrite, UnchangedValueLeavesTheFileAlone) {
  WriteFile(ini_, "[S]\nk=1\n");
  struct stat before {};
  ASSERT_EQ(::stat(ini_.c_str(), &before), 0);
  ASSERT_TRUE(Write("S", "K", "1")) << error_;
  struct stat after {};
  ASSERT_EQ(::stat(ini_.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

// Both keys of a development-language change: each line as the one-key write
// changes it, in one replacement of the file, so no crash leaves one key new
// and the other old.
TEST_F(PrivateProfileWrite, SeveralKeysChangeAsOneKeyAtATimeInOneReplacement) {
  class CountingWrites : public EnvWrapper {
   public:
    CountingWrites() : EnvWrapper(Env::Default()) {}
    void WriteFileAtomic(const std::string& path, std::string_view contents) override {
      ++writes;
      if (fail) throw SystemError(ENOSPC, "Cannot write the file '" + path + "'");
      EnvWrapper::WriteFileAtomic(path, contents);
    }
    int writes = 0;
    bool fail = false;
  } env;
  ScopedEnvOverride use(&env);
  const ProfileEntry entries[] = {{"DevelopmentLanguageNumber", "2"},
                                  {"StartingLanguageNumber", "1"}};
  const char* const files[] = {
      "; head\r\n[PARAMETERS]\r\nDevelopmentLanguageNumber = 1 \r\n"
      "  startinglanguagenumber=\t3\r\n\r\n[USERSLANG]\r\nA=1\r\n",
      "[parameters]\nStartingLanguageNumber=3\n[B]\nk=1",  // one key to add
      "[A]\nk=1",                                          // the section to add
      "[PARAMETERS]\r\nDevelopmentLanguageNumber=2\r\nStartingLanguageNumber=1\r\n",
      "",
  };
  const std::string copy = dir_ / "copy.ini";
  for (const char* file : files) {
    SCOPED_TRACE(file);
    WriteFile(ini_, file);
    WriteFile(copy, file);
    for (const ProfileEntry& entry : entries) {
      ASSERT_TRUE(WritePrivateProfileString("PARAMETERS", entry.key, entry.value, copy, &error_));
    }
    env.writes = 0;
    ASSERT_TRUE(WritePrivateProfileStrings("PARAMETERS", entries, ini_, &error_)) << error_;
    EXPECT_EQ(ReadFile(ini_), ReadFile(copy));
    EXPECT_EQ(env.writes, ReadFile(ini_) == file ? 0 : 1);
  }

  // A failure leaves the file as it was, and the message names both keys.
  const std::string before = files[0];
  WriteFile(ini_, before);
  env.fail = true;
  EXPECT_FALSE(WritePrivateProfileStrings("PARAMETERS", entries, ini_, &error_));
  EXPECT_NE(error_.find("Cannot write the keys 'DevelopmentLanguageNumber' and "
                        "'StartingLanguageNumber' of section [PARAMETERS] in '" +
                        ini_ + "': "),
            std::string::npos)
      << error_;
  env.fail = false;
  const ProfileEntry bad[] = {{"k", "1"}, {"j", "two\nlines"}};
  EXPECT_FALSE(WritePrivateProfileStrings("PARAMETERS", bad, ini_, &error_));
  EXPECT_NE(error_.find("the key 'j'"), std::string::npos) << error_;
  EXPECT_EQ(ReadFile(ini_), before);
}

}  // namespace
}  // namespace vt::system
