#include "platform/ui/msgbox.h"

#include <exception>
#include <string>

#include "platform/ui/backend.h"
#include "platform/ui/failure_note.h"
#include "platform/ui/process_state.h"
#include "platform/ui/transcript.h"

namespace vt::ui {
namespace {

std::string Quote(std::string_view s) { return "\"" + std::string(s) + "\""; }

Answer Ask(const MessageRequest& request) {
  const Answer safe = SafeAnswer(request.decoded.buttons);
  try {
    const std::shared_ptr<Backend> backend = detail::AcquireBackend();
    if (request.decoded.icon == Icon::Critical && !backend->Attended() && detail::NoteFailures()) {
      detail::Notice(FailureNote(request.text));
    }
    const Answer answer = backend->ShowMessage(request);
    if (Fits(answer, request.decoded.buttons)) return answer;
    detail::Notice("the answer to message box " + Quote(request.title) + " is not one of its " +
                   "buttons; taking " + std::string(AnswerLabel(safe)));
  } catch (const std::exception& e) {
    detail::Notice("message box " + Quote(request.title) + " could not be shown (" + e.what() +
                   "); taking " + std::string(AnswerLabel(safe)));
  } catch (...) {
    detail::Notice("message box " + Quote(request.title) + " could not be shown; taking " +
                   std::string(AnswerLabel(safe)));
  }
  return safe;
}

void Append(const std::string& line) {
  const std::string path = detail::TranscriptPath();
  if (path.empty()) return;
  const std::string error = AppendTranscriptLine(path, line);
  if (!error.empty()) detail::Notice(error);
}

void Record(const MessageRequest& request, Answer answer) {
  Append(TranscriptLine(request.title, request.style, request.text, answer));
}

template <typename F>
void Guarded(const char* what, F&& f) noexcept {
  try {
    f();
  } catch (const std::exception& e) {
    detail::Notice(std::string(what) + " failed: " + e.what());
  } catch (...) {
    detail::Notice(std::string(what) + " failed");
  }
}

}  // namespace

int MsgBox(std::string_view text, int style, std::string_view title) noexcept {
  const MessageRequest request{text, title, style, DecodeStyle(style)};
  Answer answer = SafeAnswer(request.decoded.buttons);
  Guarded("message box", [&] {
    answer = Ask(request);
    Record(request, answer);
  });
  return static_cast<int>(answer);
}

void Beep() noexcept {
  Guarded("beep", [] { detail::AcquireBackend()->Beep(); });
}

void DoEvents() noexcept {
  Guarded("processing pending events", [] { detail::AcquireBackend()->DoEvents(); });
}

void RestoreDefaultMousePointer() noexcept {
  Guarded("restoring the mouse pointer",
          [] { detail::AcquireBackend()->RestoreDefaultMousePointer(); });
}

void RecordWindowShown(std::string_view form, std::string_view caption) noexcept {
  Guarded("recording a window", [&] { Append(WindowTranscriptLine(form, caption)); });
}

void RecordLaunch(std::string_view kind, std::string_view path, int show) noexcept {
  Guarded("recording a launch", [&] { Append(LaunchTranscriptLine(kind, path, show)); });
}

void Notice(std::string_view message) noexcept { detail::Notice(message); }

}  // namespace vt::ui
