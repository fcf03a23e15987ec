#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/ui/backend.h"

namespace vt::host {

// In batch mode nobody sees a message box, and a command that ran exits 0
// whatever its boxes said. While this is alive every box still goes to the
// back end that was in use, and each one with the critical icon (a failure)
// is also told on `err` as one line, so that the cause is not lost.
class FailureNotes : public ui::Backend {
 public:
  explicit FailureNotes(std::ostream& err);
  FailureNotes(const FailureNotes&) = delete;
  FailureNotes& operator=(const FailureNotes&) = delete;

  std::string_view Name() const override { return inner_.Name(); }
  ui::Answer ShowMessage(const ui::MessageRequest& request) override;
  void Beep() override { inner_.Beep(); }
  bool ShowsQtWindows() const override { return inner_.ShowsQtWindows(); }
  bool Attended() const override { return inner_.Attended(); }
  void DoEvents() override { inner_.DoEvents(); }
  void RestoreDefaultMousePointer() override { inner_.RestoreDefaultMousePointer(); }

 private:
  ui::Backend& inner_;
  std::ostream& err_;
  ui::ScopedBackend scope_;
};

// The line FailureNotes writes for a critical box: for an error report
// "error in MODULE.PROCEDURE: DESCRIPTION", else the text; line breaks become
// blanks.
std::string FailureNote(std::string_view text);

}  // namespace vt::host
