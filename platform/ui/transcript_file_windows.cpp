#include <windows.h>

#include <cstring>

#include "platform/system/text_windows.h"
#include "platform/ui/transcript.h"

namespace vt::ui {

std::string AppendTranscriptLine(const std::string& path, std::string_view line) {
  namespace win = system::windows;
  // FILE_APPEND_DATA alone: each write lands at the end as one piece, so
  // processes sharing a transcript never interleave partial lines.
  win::Handle file(::CreateFileW(win::Widen(path).c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    return "cannot open transcript \"" + path +
           "\": " + std::strerror(win::ErrnoFor(::GetLastError()));
  }
  DWORD written = 0;
  if (!::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      written != line.size()) {
    return "cannot append to transcript \"" + path +
           "\": " + std::strerror(win::ErrnoFor(::GetLastError()));
  }
  return {};
}

}  // namespace vt::ui
