#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vt::system {

// The editor that stands in for Windows' Notepad: $VISUAL, else $EDITOR (each
// taken as shell text, so it may carry options, e.g. "kate -n"), else
// "xdg-open", which opens the file with the desktop's text editor. Since the
// system never waits for the editor, a windowed editor is the one to choose.
std::string EditorCommand();

// Turns a Windows command line into /bin/sh text. "Notepad.exe <path>" (the
// program name in any letter case, ".exe" optional) becomes `editor` followed
// by the path quoted for the shell; as Notepad does, the whole rest of the line
// is the path, blanks included, and quotes around it are dropped. Any other
// command line is returned unchanged.
std::string ToPosixCommandLine(std::string_view command_line, std::string_view editor);

// `text` quoted so that /bin/sh reads it back as exactly one word.
std::string ShellQuote(std::string_view text);

// The full path of the program that a command's first word (which may be quoted
// with ' or ") names: searched in
// $PATH unless it contains a slash; nullopt when no executable file is found.
std::optional<std::string> FindProgram(std::string_view command);

}  // namespace vt::system
