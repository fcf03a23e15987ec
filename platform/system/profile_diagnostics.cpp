#include <exception>
#include <string>
#include <vector>

#include "platform/system/env.h"
#include "platform/system/private_profile.h"
#include "platform/system/profile_lines.h"

// Both builds: the Windows one reads the values through Win32, whose rules
// these line numbers follow.
namespace vt::system {

using namespace profile;

std::size_t PrivateProfileLine(std::string_view section, std::string_view key,
                               const std::string& path) {
  std::string text;
  try {
    text = FileText(path);
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
    text = FileText(path);
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
