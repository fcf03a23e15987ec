#include <exception>
#include <string>
#include <vector>

#include "platform/base/utf8.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"
#include "platform/system/profile_lines.h"

// Both builds: the Windows one reads the values through Win32, whose rules
// these line numbers follow.
namespace vt::system {

using namespace profile;

namespace {

// The file as the reader sees it: Win32 keeps Unicode profiles in UTF-16LE
// behind a byte order mark.
std::string ProfileText(const std::string& path) {
  std::string bytes = CurrentEnv().ReadFile(path);
  if (!bytes.starts_with("\xFF\xFE")) return bytes;
  std::string text;
  const auto unit = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8U));
  };
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10U) + (low - 0xDC00);
        i += 2;
      }
    }
    base::AppendUtf8(c, text);  // a lone surrogate becomes U+FFFD
  }
  return text;
}

}  // namespace

std::size_t PrivateProfileLine(std::string_view section, std::string_view key,
                               const std::string& path) {
  std::string text;
  try {
    text = ProfileText(path);
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
    text = ProfileText(path);
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
