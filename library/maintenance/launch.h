#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/launch.h is private to its component"
#endif

#include <string>

namespace vt::maintenance {

// The programs the library starts, without waiting for them. Each start is
// recorded in the transcript; when nobody watches (batch) it is only
// recorded. A program that cannot be started raises SystemError.

// "Notepad.exe " + path: the text editor on the file.
void StartEditor(const std::string& path);
// The file with the program associated with its type.
void OpenDocument(const std::string& path);

}  // namespace vt::maintenance
