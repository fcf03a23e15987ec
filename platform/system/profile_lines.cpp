#include "platform/system/profile_lines.h"

#include <exception>
#include <string>

#include "platform/base/ascii.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"

namespace vt::system {
namespace profile {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool NamesEqual(std::string_view a, std::string_view b) {
  return base::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

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

}  // namespace profile

using profile::FindKey;
using profile::FindSection;
using profile::Line;
using profile::LineKind;
using profile::SplitLines;
using profile::Trim;

std::size_t PrivateProfileLine(std::string_view section, std::string_view key,
                               const std::string& path) {
  std::string text;
  try {
    text = profile::ReadProfileText(path);
  } catch (const std::exception&) {
    return 0;
  }
  const std::vector<Line> lines = SplitLines(text);
  if (const auto span = FindSection(lines, section)) {
    if (const auto index = FindKey(lines, *span, key)) return *index + 1;
  }
  return 0;
}

ProfileLineProblem FirstUnreadProfileLine(const std::string& path) {
  std::string text;
  try {
    text = profile::ReadProfileText(path);
  } catch (const std::exception&) {
    return {};
  }
  const std::vector<Line> lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    const std::string_view content =
        Trim(std::string_view(text).substr(line.begin, line.end - line.begin));
    if (content.starts_with(';')) continue;
    if (content.find('\0') != std::string_view::npos) return {i + 1, "holds a NUL byte"};
    if (line.kind != LineKind::Other) continue;
    if (content.starts_with('[')) return {i + 1, "has no ']' closing its section name"};
    if (content.find('=') != std::string_view::npos) return {i + 1, "has no key before its '='"};
  }
  return {};
}

}  // namespace vt::system
