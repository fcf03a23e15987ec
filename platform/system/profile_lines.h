#pragma once

// The line scanner shared by the private-profile reader, its writer and the
// messages about a key that did not read.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/private_profile.h"

namespace vt::system::profile {

std::string_view Trim(std::string_view text);
bool NamesEqual(std::string_view a, std::string_view b);

enum class LineKind { Other, Section, Entry };

// One line of the file, by byte offsets into the whole text.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;   // end of the content, before CR LF / LF
  std::size_t next = 0;  // start of the following line
  LineKind kind = LineKind::Other;
  std::string_view name;        // section name or key, trimmed
  std::size_t value_begin = 0;  // Entry: offset of the value's first non-blank
  std::string_view value;       // Entry: trimmed value
};

// The file's text as the build's reader sees it, in UTF-8 (the Windows build
// keeps Unicode profiles in UTF-16LE). Raises when it cannot be read.
std::string FileText(const std::string& path);

// A leading UTF-8 byte order mark is skipped; CR LF and LF end lines.
std::vector<Line> SplitLines(std::string_view text);

// Where a section lies in the line list: its header and one past its last line.
struct SectionSpan {
  std::size_t header = 0;
  std::size_t end = 0;
};

// The first section of that name: the only one searched.
std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section);
// The section's first line with that key.
std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionSpan& span,
                                   std::string_view key);

// Why these names or this value cannot be written as one line, or empty.
std::string CheckEntry(std::string_view section, std::string_view key, std::string_view value);

// The start of a failed write's message: "Cannot write the key 'k' of section
// [S] in 'path': " ("the keys 'a' and 'b'" for several).
std::string WriteFailure(std::string_view section, std::span<const ProfileEntry> entries,
                         const std::string& path);
// The message for the first entry CheckEntry refuses, or empty.
std::string CheckEntries(std::string_view section, std::span<const ProfileEntry> entries,
                         const std::string& path);

// A write of several keys as both builds do it: entries CheckEntries refuses
// are refused, the file's bytes go to `write`, and whatever fails comes back
// as false with the reason in `*error` (when given). `write` gets no bytes when
// there is no file, which may then be created; a file there but unreadable
// fails here, as it must not be overwritten.
bool WriteEntries(std::string_view section, std::span<const ProfileEntry> entries,
                  const std::string& path, std::string* error,
                  const std::function<void(const std::optional<std::string>& original)>& write);

}  // namespace vt::system::profile
