// clang-format off
#include <windows.h>
// clang-format on

#include <iostream>
#include <streambuf>

#include "wizard/standard_streams.h"

namespace vt::wizard {
namespace {

// A stream redirected to a file, a pipe or a device has a handle of its own;
// one left to the console has none in a program of this subsystem.
bool Redirected(DWORD which) {
  HANDLE handle = ::GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Writes to the console as it comes. The C runtime's own streams cannot be
// moved there: it marked them closed at start, and reopening one that is
// closed fails.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    return xsputn(&character, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* text, std::streamsize size) override {
    DWORD written = 0;
    return ::WriteFile(console_, text, static_cast<DWORD>(size), &written, nullptr)
               ? static_cast<std::streamsize>(written)
               : 0;
  }

 private:
  HANDLE console_;
};

}  // namespace

void UseStartingConsole() {
  const bool out_left = !Redirected(STD_OUTPUT_HANDLE);
  const bool err_left = !Redirected(STD_ERROR_HANDLE);
  // Started from the Start menu or the Explorer there is no console to join.
  if ((!out_left && !err_left) || !::AttachConsole(ATTACH_PARENT_PROCESS)) return;
  HANDLE console =
      ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return;
  static ConsoleBuffer buffer(console);  // for the program's life
  // The handles too, for what writes to them itself (the notices).
  if (out_left) {
    ::SetStdHandle(STD_OUTPUT_HANDLE, console);
    std::cout.rdbuf(&buffer);
  }
  if (err_left) {
    ::SetStdHandle(STD_ERROR_HANDLE, console);
    std::cerr.rdbuf(&buffer);
  }
}

}  // namespace vt::wizard
