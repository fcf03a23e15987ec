#pragma once

#include <string>
#include <string_view>

#include "platform/ui/style.h"

namespace vt::ui {

// {"title": "...", "style": 48, "text": "...", "answer": "ok"} and a line
// feed. Text goes in as given (CR LF escaped as \r\n, non-ASCII kept as
// UTF-8); a byte that is not UTF-8 becomes U+FFFD rather than failing.
std::string TranscriptLine(std::string_view title, int style, std::string_view text, Answer answer);

// {"form": "frmUpdateDictionary", "caption": "..."}: a window of the system
// opened (the caption exactly as set; empty for a window without a title bar).
std::string WindowTranscriptLine(std::string_view form, std::string_view caption);

// {"launch": "editor", "path": "...", "show": 3}: a program the system
// started, or would have started in batch mode, and the show command its
// window was given.
std::string LaunchTranscriptLine(std::string_view kind, std::string_view path, int show);

// Appends the line to the file with one write on a descriptor opened for
// appending, so processes sharing a transcript never interleave partial lines.
// The file is created when missing. Returns an empty string on success, else
// what went wrong, naming the file.
std::string AppendTranscriptLine(const std::string& path, std::string_view line);

}  // namespace vt::ui
