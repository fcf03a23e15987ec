#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vt::system {

// Win32 private-profile (INI) files, UTF-8 text, read and written through
// CurrentEnv(). (The Windows build calls the Win32 functions themselves, with
// UTF-8 converted at this boundary.)
//
// Reading: lines "[Section]" and "key=value"; section and key names compared
// without regard to the case of ASCII letters, after trimming; the first
// section of that name is the only one searched, and its first line with that
// key wins. Lines starting with ';' and lines without '=' are ignored, as are
// keys before any section. The value is trimmed of blanks and tabs and loses
// one pair of enclosing double quotes. CR LF and LF line ends are both read.
// The result is what a buffer of `buffer_size` bytes receives: at most
// buffer_size - 1 bytes, cut back so that no UTF-8 sequence is split. A
// missing key or an unreadable file gives `default_value` (trailing blanks
// removed, same buffer rule).
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const std::string& path);

// For messages about a key that did not read: the line (counted from 1) whose
// value GetPrivateProfileString returns for the key, or 0 when it finds none.
std::size_t PrivateProfileLine(std::string_view section, std::string_view key,
                               const std::string& path);

// The first line that reading passes over although it holds something meant
// as a setting: a NUL byte, an '=' with no key before it, a '[' that opens a
// section name but no ']' that closes it. `line` is 0 when there is none.
struct ProfileLineProblem {
  std::size_t line = 0;
  std::string reason;  // "holds a NUL byte", ...
};
ProfileLineProblem FirstUnreadProfileLine(const std::string& path);

// Sets one key: the value of its first line is replaced, or a "key=value" line
// is added at the end of the section, or the section is added at the end of
// the file (a missing file is created). Every other byte of the file stays as
// it was, and new lines take the file's line ending (LF for a new file). The
// file is replaced atomically. Returns false, with the file unchanged and the
// reason in `*error` when given, on failure: the file cannot be read or
// written, or a name or the value would break the file's lines (a line break
// or NUL anywhere, '=' in the key, ']' in the section, an empty name).
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path,
                               std::string* error = nullptr);

// Sets several keys of one section together: each line changes as
// WritePrivateProfileString changes it, one key after the other, and the file
// is replaced once, atomically, so that a reader, or a crash, meets either all
// the changes or none. Fails, with the file unchanged, as that function does.
struct ProfileEntry {
  std::string_view key;
  std::string_view value;
};
bool WritePrivateProfileStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                const std::string& path, std::string* error = nullptr);

}  // namespace vt::system
