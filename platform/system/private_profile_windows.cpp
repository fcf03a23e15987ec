// The private-profile functions of the Windows build: the real Win32 ones,
// with UTF-8 at our boundary and UTF-16 at theirs.

#include <vector>

#include "platform/base/trim.h"
#include "platform/base/utf8.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"
#include "platform/system/profile_lines.h"
#include "platform/system/text_windows.h"

namespace vt::system {

namespace {

using profile::CheckEntry;
using windows::Widen;

}  // namespace

std::string profile::FileText(const std::string& path) {
  const std::string bytes = CurrentEnv().ReadFile(path);
  if (!bytes.starts_with("\xFF\xFE")) return bytes;
  std::wstring wide((bytes.size() - 2) / 2, L'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                   (static_cast<unsigned char>(bytes[3 + 2 * i]) << 8U));
  }
  return windows::Narrow(wide);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size,
                                    const std::string& path) {
  if (buffer_size == 0) return {};
  // The caller's buffer counts UTF-8 bytes: a buffer of as many UTF-16 units
  // holds at least that many, and the cut below gives the same result.
  std::vector<wchar_t> buffer(buffer_size + 1, L'\0');
  const DWORD length = ::GetPrivateProfileStringW(
      Widen(section).c_str(), Widen(key).c_str(), Widen(default_value).c_str(), buffer.data(),
      static_cast<DWORD>(buffer_size), Widen(path).c_str());
  const std::string value = windows::Narrow(std::wstring_view(buffer.data(), length));
  return std::string(base::Utf8Prefix(value, buffer_size - 1));
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path,
                               std::string* error) {
  const std::string where = "Cannot write the key '" + std::string(key) + "' of section [" +
                            std::string(section) + "] in '" + path + "': ";
  if (const std::string problem = CheckEntry(section, key, value); !problem.empty()) {
    if (error != nullptr) *error = where + problem;
    return false;
  }
  if (!::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(path).c_str())) {
    if (error != nullptr) *error = where + windows::LastError("").code().message();
    return false;
  }
  return true;
}

}  // namespace vt::system
