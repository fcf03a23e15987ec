// show_probe.exe: writes how it was asked to show its window, "FLAGS SHOW"
// (STARTUPINFO's dwFlags and wShowWindow), into the file that the variable
// VELTRANO_SHOW_PROBE names, for the tests of the programs Env starts.
// clang-format off
#include <windows.h>
// clang-format on

#include <string>

int main() {
  wchar_t path[32768];
  if (::GetEnvironmentVariableW(L"VELTRANO_SHOW_PROBE", path, 32768) == 0) return 2;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  ::GetStartupInfoW(&startup);
  const std::string line =
      std::to_string(startup.dwFlags) + " " + std::to_string(startup.wShowWindow) + "\n";
  // Written aside and renamed, so that the test never reads half a line.
  const std::wstring aside = std::wstring(path) + L".part";
  HANDLE file = ::CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const bool whole =
      ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
      written == line.size();
  ::CloseHandle(file);
  return whole && ::MoveFileExW(aside.c_str(), path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
