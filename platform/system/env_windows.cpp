// The Windows back end of Env: the Win32 file, process and shell functions.

#include "platform/system/text_windows.h"
// clang-format off
#include <psapi.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/system/env_backend.h"
#include "platform/system/files_windows.h"
#include "platform/system/paths.h"

namespace vt::system {

namespace {

using windows::Handle;
using windows::Narrow;
using windows::Widen;

// Files the system counts: not folders, not devices, not hidden or system
// files (what the Explorer shows as an ordinary file).
bool IsOrdinary(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                        FILE_ATTRIBUTE_DEVICE)) == 0;
}

static_assert(static_cast<int>(ShowCommand::Normal) == SW_SHOWNORMAL &&
              static_cast<int>(ShowCommand::Maximized) == SW_SHOWMAXIMIZED);

bool HasWildcard(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  const char last = folder.back();
  return folder + (last == '\\' || last == '/' || last == ':' ? "" : "\\") + std::string(name);
}

std::string ReadAll(HANDLE file, const std::string& what, std::size_t expected) {
  // The whole file in as few calls as its size allows: under Wine each call
  // is a round trip to its server, and a string grown step by step is copied
  // and committed anew at every step.
  constexpr std::size_t kStep = 65536;  // for a file that grew meanwhile
  std::string contents;
  contents.reserve(expected + kStep);
  contents.resize(expected);
  std::size_t have = 0;
  for (;;) {
    if (have == contents.size()) contents.resize(have + kStep);
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(contents.size() - have, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file, contents.data() + have, ask, &got, nullptr)) {
      throw windows::LastError(what);
    }
    if (got == 0) break;
    have += got;
  }
  contents.resize(have);
  return contents;
}

}  // namespace

namespace backend {

bool FileExists(const std::string& path) {
  if (path.empty() || HasWildcard(path)) return false;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(Widen(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return IsOrdinary(found.dwFileAttributes);
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(Widen(Join(folder, pattern)).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_NO_MORE_FILES) {
      return names;
    }
    throw windows::ErrorFor(error, "Cannot list the folder '" + folder + "'");
  }
  do {
    if (IsOrdinary(found.dwFileAttributes)) names.push_back(Narrow(found.cFileName));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

std::string ReadFileStamped(const std::string& path, FileStamp& stamp) {
  const std::string what = "Cannot read the file '" + path + "'";
  Handle file(windows::OpenShared(path, GENERIC_READ));
  if (!file.valid()) throw windows::LastError(what);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info)) throw windows::LastError(what);
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) throw SystemError(EISDIR, what);
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    throw SystemError(EINVAL, what + ": not an ordinary file");
  }
  stamp = windows::StampOf(file.get(), info);
  const std::uint64_t size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  return ReadAll(file.get(), what,
                 static_cast<std::size_t>(std::min<std::uint64_t>(size, SIZE_MAX / 2)));
}

std::optional<FileStamp> StatFile(const std::string& path) {
  Handle file(windows::OpenShared(path, FILE_READ_ATTRIBUTES));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw windows::ErrorFor(error, "Cannot examine the file '" + path + "'");
  }
  return windows::StampOf(file.get());
}

void AppendToFile(const std::string& path, std::string_view text) {
  const std::string what = "Cannot append to the file '" + path + "'";
  // FILE_APPEND_DATA alone: every write goes to the end of the file as
  // one piece, whoever else appends.
  Handle file(::CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) throw windows::LastError(what);
  DWORD written = 0;
  if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size()) {
    throw windows::LastError(what);
  }
}

void CopyOver(const std::string& from, const std::string& to) {
  std::string contents;
  try {
    FileStamp stamp;
    contents = ReadFileStamped(from, stamp);
  } catch (const SystemError& e) {
    throw SystemError(e.code().value(), "Cannot copy the file '" + from + "'");
  }
  Env::Default()->WriteFileAtomic(to, contents);
}

void MakeDirectory(const std::string& path) {
  if (!::CreateDirectoryW(Widen(path).c_str(), nullptr)) {
    throw windows::LastError("Cannot create the folder '" + path + "'");
  }
}

std::vector<std::string> RunningProcessExecutableNames() {
  std::vector<DWORD> ids(1024);
  DWORD bytes = 0;
  for (;;) {
    const auto capacity = static_cast<DWORD>(ids.size() * sizeof(DWORD));
    if (!::EnumProcesses(ids.data(), capacity, &bytes)) {
      throw windows::LastError("Cannot list the processes");
    }
    if (bytes < capacity) break;
    ids.resize(ids.size() * 2);
  }
  ids.resize(bytes / sizeof(DWORD));
  std::vector<std::string> names;
  for (const DWORD id : ids) {
    Handle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    if (!process.valid()) continue;  // the idle and system processes, other users'
    // The image name in one question to the system, not by reading the
    // process's loader tables (under Wine, eight round trips a process).
    wchar_t path[MAX_PATH * 4];
    DWORD length = MAX_PATH * 4;
    if (!::QueryFullProcessImageNameW(process.get(), 0, path, &length) || length == 0) continue;
    const std::string name = windows::NameOf(Narrow(std::wstring_view(path, length)));
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

void OpenWithDefaultProgram(const std::string& path, ShowCommand show) {
  const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
      nullptr, L"open", Widen(path).c_str(), nullptr, nullptr, static_cast<int>(show)));
  if (result <= 32) {
    throw SystemError(ENOENT, "Cannot open '" + path + "' with its default program");
  }
}

void StartProgram(const std::string& command_line, ShowCommand show) {
  std::wstring line = Widen(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    throw windows::LastError("Cannot start '" + command_line + "'");
  }
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
}

}  // namespace backend

std::string SystemPath(std::string_view windows_path) { return std::string(windows_path); }

}  // namespace vt::system
