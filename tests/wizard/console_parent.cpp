// console_parent.exe COMMAND-LINE: runs the command line as from a Command
// Prompt window: in a console of its own, no stream redirected, the program
// not attached to the console, as Windows starts a program with windows
// (Wine would attach it, and hand it the console's streams). When the
// program has ended, prints what the console shows (each line without its
// trailing blanks) on this program's own standard output and exits with the
// program's exit status; 100 when the console or the program cannot be made.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/system/text_windows.h"

namespace {

int Fail(HANDLE out, const std::string& what) {
  const std::string line =
      "console_parent: " + what + " (error " + std::to_string(::GetLastError()) + ")\n";
  DWORD written = 0;
  ::WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return 100;
}

// What the console shows, from its first line to the cursor's.
std::string Shown() {
  HANDLE screen =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (screen == INVALID_HANDLE_VALUE || !::GetConsoleScreenBufferInfo(screen, &info)) return {};
  std::string shown;
  std::vector<wchar_t> row(static_cast<std::size_t>(info.dwSize.X));
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    DWORD read = 0;
    ::ReadConsoleOutputCharacterW(screen, row.data(), static_cast<DWORD>(row.size()), {0, y},
                                  &read);
    std::wstring line(row.data(), read);
    line.erase(line.find_last_not_of(L' ') + 1);
    if (y < info.dwCursorPosition.Y || !line.empty())
      shown += vt::system::windows::Narrow(line) + "\n";
  }
  ::CloseHandle(screen);
  return shown;
}

}  // namespace

int main() {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  // The command line after this program's own name.
  std::wstring line = ::GetCommandLineW();
  const bool quoted = !line.empty() && line[0] == L'"';
  std::size_t end = quoted ? line.find(L'"', 1) + 1 : line.find(L' ');
  end = line.find_first_not_of(L' ', end == std::wstring::npos ? line.size() : end);
  std::wstring command = end == std::wstring::npos ? std::wstring() : line.substr(end);
  if (command.empty()) return Fail(out, "no command line");

  ::FreeConsole();
  if (!::AllocConsole()) return Fail(out, "no console");
  // Wide enough that no line the program writes wraps.
  HANDLE screen =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (screen == INVALID_HANDLE_VALUE || !::SetConsoleScreenBufferSize(screen, {1000, 300})) {
    return Fail(out, "no console of 1000 columns");
  }
  ::CloseHandle(screen);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &started)) {
    return Fail(out, "cannot start " + vt::system::windows::Narrow(command));
  }
  ::WaitForSingleObject(started.hProcess, INFINITE);
  DWORD status = 100;
  ::GetExitCodeProcess(started.hProcess, &status);
  ::CloseHandle(started.hThread);
  ::CloseHandle(started.hProcess);
  const std::string shown = Shown();
  ::FreeConsole();
  DWORD written = 0;
  ::WriteFile(out, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
  return static_cast<int>(status);
}
