#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/base/utf8.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"
#include "platform/system/profile_lines.h"

namespace vt::system {

namespace {

using namespace profile;

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string ThroughBuffer(std::string_view value, std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  return std::string(base::Utf8Prefix(value, buffer_size - 1));
}

std::string_view LineEnding(std::string_view text) {
  const auto newline = text.find('\n');
  if (newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r') {
    return "\r\n";
  }
  return "\n";
}

// Ends the last line of `result`, which may lack a line feed: nothing, or a
// lone CR, which reads as the line's end and so only wants its LF (a second CR
// would become part of the line).
void EndLastLine(std::string& result, std::string_view eol) {
  if (result.empty() || result.back() == '\n') return;
  result.append(result.back() == '\r' ? std::string_view("\n") : eol);
}

std::string Edit(std::string_view text, std::string_view section, std::string_view key,
                 std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  const std::string_view eol = LineEnding(text);
  std::string result;
  const auto span = FindSection(lines, section);
  if (span) {
    if (const auto index = FindKey(lines, *span, key)) {
      const Line& line = lines[*index];
      result.append(text.substr(0, line.value_begin));
      result.append(value);
      result.append(text.substr(line.end));
      return result;
    }
    // After the section's last line that is not blank.
    std::size_t last = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i) {
      if (!Trim(text.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty()) last = i;
    }
    const Line& after = lines[last];
    result.append(text.substr(0, after.next));
    EndLastLine(result, eol);
    result.append(Trim(key)).append("=").append(value).append(eol);
    result.append(text.substr(after.next));
    return result;
  }
  result.assign(text);
  EndLastLine(result, eol);
  result.append("[").append(Trim(section)).append("]").append(eol);
  result.append(Trim(key)).append("=").append(value).append(eol);
  return result;
}

}  // namespace

std::string profile::FileText(const std::string& path) { return CurrentEnv().ReadFile(path); }

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const std::string& path) {
  std::string text;
  try {
    text = CurrentEnv().ReadFile(path);
  } catch (const std::exception&) {
    text.clear();  // Win32 answers an unreadable file with the default
  }
  const std::vector<Line> lines = SplitLines(text);
  if (const auto span = FindSection(lines, section)) {
    if (const auto index = FindKey(lines, *span, key)) {
      return ThroughBuffer(Unquote(lines[*index].value), buffer_size);
    }
  }
  std::string_view fallback = default_value;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return ThroughBuffer(fallback, buffer_size);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path,
                               std::string* error) {
  const ProfileEntry entry{key, value};
  return WritePrivateProfileStrings(section, std::span(&entry, 1), path, error);
}

bool WritePrivateProfileStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                const std::string& path, std::string* error) {
  return WriteEntries(section, entries, path, error,
                      [&](const std::optional<std::string>& original) {
                        const std::string text = original.value_or("");
                        std::string edited = text;
                        for (const ProfileEntry& entry : entries)
                          edited = Edit(edited, section, entry.key, entry.value);
                        if (edited != text) CurrentEnv().WriteFileAtomic(path, edited);
                      });
}

}  // namespace vt::system
