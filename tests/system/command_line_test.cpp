// The Windows command lines the system starts, turned into POSIX ones.
#include <gtest/gtest.h>

#include "platform/system/command_line_posix.h"

namespace vt::system {
namespace {

TEST(CommandLine, NotepadBecomesTheEditorWithTheWholeRestAsPath) {
  EXPECT_EQ(ToPosixCommandLine("Notepad.exe /pics/My App/Veltrano/Veltrano.ini", "kate -n"),
            "kate -n '/pics/My App/Veltrano/Veltrano.ini'");
  EXPECT_EQ(ToPosixCommandLine("NOTEPAD \"/a b/it's.ini\"", "xdg-open"),
            "xdg-open '/a b/it'\\''s.ini'");
  EXPECT_EQ(ToPosixCommandLine("notepad.exe", "vi"), "vi");
  EXPECT_EQ(ToPosixCommandLine("ls -l /tmp", "vi"), "ls -l /tmp");
  EXPECT_EQ(ToPosixCommandLine("notepad.exe.bak x", "vi"), "notepad.exe.bak x");
}

TEST(CommandLine, FindProgramSearchesPath) {
  EXPECT_TRUE(FindProgram("sh -c x"));
  EXPECT_EQ(FindProgram("/bin/sh"), std::optional<std::string>("/bin/sh"));
  EXPECT_FALSE(FindProgram("/etc/passwd"));  // not executable
  EXPECT_FALSE(FindProgram("no-such-program-vt-4711"));
  EXPECT_FALSE(FindProgram("   "));
  EXPECT_EQ(FindProgram("'/bin/sh' -x"), std::optional<std::string>("/bin/sh"));
  EXPECT_EQ(FindProgram("\"/bin/sh\""), std::optional<std::string>("/bin/sh"));
}

}  // namespace
}  // namespace vt::system
