#pragma once

// The lines of a private-profile file as reading sees them, for the
// functions that read and write such files and those that tell where a key
// was read; the same on both builds.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/trim.h"

namespace vt::system::profile {

inline std::string_view Trim(std::string_view text) { return base::Trim(text, base::kBlankOrTab); }

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

std::vector<Line> SplitLines(std::string_view text);

// The file's text as the platform's reader sees it, in UTF-8: as it is on
// Linux; on Windows a file with the UTF-16 byte-order mark is decoded, as the
// Win32 functions read it. Throws what Env::ReadFile throws.
std::string ReadProfileText(const std::string& path);

// Where a section lies in the line list: its header and one past its last line.
struct SectionSpan {
  std::size_t header = 0;
  std::size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section);
std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionSpan& span,
                                   std::string_view key);

}  // namespace vt::system::profile
