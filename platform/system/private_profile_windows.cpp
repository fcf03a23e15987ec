// The private-profile functions of the Windows build: the real Win32 ones,
// with UTF-8 at our boundary and UTF-16 at theirs.

#include <optional>
#include <span>
#include <vector>

#include "platform/base/trim.h"
#include "platform/base/utf8.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"
#include "platform/system/profile_lines.h"
#include "platform/system/text_windows.h"

namespace vt::system {

namespace {

using profile::CheckEntries;
using profile::WriteEntries;
using profile::WriteFailure;
using windows::Widen;

// A file of the temporary folder holding a copy of a file's bytes (or empty
// when there is no file), removed when it goes.
class ScratchCopy {
 public:
  explicit ScratchCopy(const std::optional<std::string>& bytes) {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || ::GetTempFileNameW(folder, L"vtp", 0, name) == 0) {
      throw windows::LastError("making a copy of the file in the temporary folder");
    }
    path_ = name;
    if (bytes) Write(*bytes);
  }
  ~ScratchCopy() { ::DeleteFileW(path_.c_str()); }
  ScratchCopy(const ScratchCopy&) = delete;
  ScratchCopy& operator=(const ScratchCopy&) = delete;

  const std::wstring& path() const { return path_; }

  std::string Read() const {
    windows::Handle file(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) throw windows::LastError("reading the copy of the file");
    std::string bytes;
    char buffer[4096];
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
        throw windows::LastError("reading the copy of the file");
      }
      if (got == 0) return bytes;
      bytes.append(buffer, got);
    }
  }

 private:
  void Write(const std::string& bytes) const {
    windows::Handle file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.valid() ||
        !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) ||
        written != bytes.size() || !file.Close()) {
      throw windows::LastError("making a copy of the file in the temporary folder");
    }
  }

  std::wstring path_;
};

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
  const ProfileEntry entry{key, value};
  if (const std::string problem = CheckEntries(section, std::span(&entry, 1), path);
      !problem.empty()) {
    if (error != nullptr) *error = problem;
    return false;
  }
  if (!::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(path).c_str())) {
    if (error != nullptr) {
      *error = WriteFailure(section, std::span(&entry, 1), path) +
               windows::LastError("").code().message();
    }
    return false;
  }
  return true;
}

// The Win32 function changes one key per call, and each call rewrites the
// file in place. So the keys are written by it into a scratch copy of the file
// in the temporary folder, each line changed exactly as Windows changes it
// (the file's encoding included), and the result replaces the file once,
// through the atomic write that every durable write takes.
bool WritePrivateProfileStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                const std::string& path, std::string* error) {
  return WriteEntries(
      section, entries, path, error, [&](const std::optional<std::string>& original) {
        ScratchCopy scratch(original);
        for (const ProfileEntry& entry : entries) {
          if (!::WritePrivateProfileStringW(Widen(section).c_str(), Widen(entry.key).c_str(),
                                            Widen(entry.value).c_str(), scratch.path().c_str())) {
            throw windows::LastError("writing a copy of the file");
          }
        }
        // Flushed, and forgotten by the profile cache.
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, scratch.path().c_str());
        const std::string edited = scratch.Read();
        if (!original || edited != *original) CurrentEnv().WriteFileAtomic(path, edited);
      });
}

}  // namespace vt::system
