#pragma once

#include <string_view>

#include "platform/ui/style.h"

namespace vt::ui {

// One message box as MsgBox was asked for it. Text and title are UTF-8, the
// text exactly as built (CR LF line breaks).
struct MessageRequest {
  std::string_view text;
  std::string_view title;
  int style = 0;
  Style decoded;
};

// Where message boxes, beeps and the event pump go. The process has one,
// chosen at start (see configure.h); tests put their own in with ScopedBackend.
// Implementations are called on the thread that runs the system's scripts.
class Backend {
 public:
  virtual ~Backend() = default;

  // "qt", "terminal", "batch", or a test's own name.
  virtual std::string_view Name() const = 0;

  // Shows the box and waits for the answer. The answer must be one of the
  // box's buttons; MsgBox takes the safe one otherwise.
  virtual Answer ShowMessage(const MessageRequest& request) = 0;

  virtual void Beep() {}

  // True when the system's windows (dialogs, the startup panel) are shown as
  // Qt widgets, as the message boxes are; otherwise their batch views press
  // the buttons.
  virtual bool ShowsQtWindows() const { return false; }
  // False when nobody watches (batch): programs the system would start (the
  // editor, document viewers) are then only recorded, not started.
  virtual bool Attended() const { return true; }

  // The default pumps the Qt event loop / pops Qt's override cursors when the
  // process has a Qt application object, whatever answers the message boxes.
  virtual void DoEvents();
  virtual void RestoreDefaultMousePointer();
};

// The back end in use: the innermost ScopedBackend, else the configured one
// (chosen with default options on first use when Configure was not called).
Backend& CurrentBackend();

// Puts a back end in place for the life of this object (tests, nested use).
// Scopes must end in the reverse order they began.
class ScopedBackend {
 public:
  explicit ScopedBackend(Backend& backend);
  ~ScopedBackend();
  ScopedBackend(const ScopedBackend&) = delete;
  ScopedBackend& operator=(const ScopedBackend&) = delete;

 private:
  Backend* previous_;
};

}  // namespace vt::ui
