#include "platform/system/arguments.h"
#include "platform/system/text_windows.h"
// clang-format off
#include <shellapi.h>
// clang-format on

namespace vt::system {

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide != nullptr) {
    for (int i = 0; i < count; ++i) words_.push_back(windows::Narrow(wide[i]));
    ::LocalFree(wide);
  } else {
    // Out of memory: the CRT's words are better than none.
    words_.assign(argv, argv + argc);
  }
  for (std::string& word : words_) pointers_.push_back(word.data());
  pointers_.push_back(nullptr);
}

}  // namespace vt::system
