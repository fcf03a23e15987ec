#include "platform/system/profile_lines.h"

#include <cerrno>
#include <exception>

#include "platform/base/ascii.h"
#include "platform/base/trim.h"
#include "platform/system/env.h"

namespace vt::system::profile {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view Trim(std::string_view text) { return base::Trim(text, base::kBlankOrTab); }

bool NamesEqual(std::string_view a, std::string_view b) {
  return base::EqualsIgnoringAsciiCase(a, b);
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t at = text.starts_with(kBom) ? kBom.size() : 0;
  while (at < text.size()) {
    Line line;
    line.begin = at;
    const auto newline = text.find('\n', at);
    line.next = newline == std::string_view::npos ? text.size() : newline + 1;
    line.end = newline == std::string_view::npos ? text.size() : newline;
    if (line.end > line.begin && text[line.end - 1] == '\r') --line.end;
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    const std::string_view trimmed = Trim(content);
    if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
      line.kind = LineKind::Section;
      line.name = Trim(trimmed.substr(1, trimmed.rfind(']') - 1));
    } else if (!trimmed.starts_with(';')) {
      const auto equals = content.find('=');
      if (equals != std::string_view::npos && !Trim(content.substr(0, equals)).empty()) {
        line.kind = LineKind::Entry;
        line.name = Trim(content.substr(0, equals));
        std::size_t value_at = equals + 1;
        while (value_at < content.size() && IsBlank(content[value_at])) ++value_at;
        line.value_begin = line.begin + value_at;
        line.value = Trim(content.substr(value_at));
      }
    }
    lines.push_back(line);
    at = line.next;
  }
  return lines;
}

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section) {
  const std::string_view wanted = Trim(section);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !NamesEqual(lines[i].name, wanted)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && lines[end].kind != LineKind::Section) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionSpan& span,
                                   std::string_view key) {
  const std::string_view wanted = Trim(key);
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    if (lines[i].kind == LineKind::Entry && NamesEqual(lines[i].name, wanted)) return i;
  }
  return std::nullopt;
}

std::string CheckEntry(std::string_view section, std::string_view key, std::string_view value) {
  auto breaks_line = [](std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
  };
  if (Trim(section).empty()) return "the section name is empty";
  if (Trim(key).empty()) return "the key name is empty";
  if (breaks_line(section) || section.find(']') != std::string_view::npos) {
    return "the section name contains a line break, a NUL or ']'";
  }
  if (breaks_line(key) || key.find('=') != std::string_view::npos) {
    return "the key name contains a line break, a NUL or '='";
  }
  const std::string_view trimmed_key = Trim(key);
  if (trimmed_key.starts_with('[') || trimmed_key.starts_with(';')) {
    return "the key name begins with '[' or ';'";
  }
  if (breaks_line(value)) return "the value contains a line break or a NUL";
  return {};
}

std::string WriteFailure(std::string_view section, std::span<const ProfileEntry> entries,
                         const std::string& path) {
  std::string keys;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) keys += i + 1 == entries.size() ? " and " : ", ";
    keys += "'" + std::string(entries[i].key) + "'";
  }
  return "Cannot write the " + std::string(entries.size() == 1 ? "key " : "keys ") + keys +
         " of section [" + std::string(section) + "] in '" + path + "': ";
}

std::string CheckEntries(std::string_view section, std::span<const ProfileEntry> entries,
                         const std::string& path) {
  for (const ProfileEntry& entry : entries) {
    if (std::string problem = CheckEntry(section, entry.key, entry.value); !problem.empty()) {
      return WriteFailure(section, std::span(&entry, 1), path) + problem;
    }
  }
  return {};
}

bool WriteEntries(std::string_view section, std::span<const ProfileEntry> entries,
                  const std::string& path, std::string* error,
                  const std::function<void(const std::optional<std::string>& original)>& write) {
  if (const std::string problem = CheckEntries(section, entries, path); !problem.empty()) {
    if (error != nullptr) *error = problem;
    return false;
  }
  try {
    std::optional<std::string> original;
    try {
      original = CurrentEnv().ReadFile(path);
    } catch (const SystemError& failure) {
      if (failure.code().value() != ENOENT) throw;
    }
    write(original);
    return true;
  } catch (const std::exception& failure) {
    if (error != nullptr) *error = WriteFailure(section, entries, path) + failure.what();
    return false;
  }
}

}  // namespace vt::system::profile
