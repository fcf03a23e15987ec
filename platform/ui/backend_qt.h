#pragma once

#include "platform/ui/backend.h"

namespace vt::ui {

// Real QMessageBox windows. Needs a QApplication in the process; each box is
// application-modal and blocks until a button is pressed. Escape (or closing
// the window) gives the safe answer.
class QtBackend final : public Backend {
 public:
  std::string_view Name() const override { return "qt"; }
  Answer ShowMessage(const MessageRequest& request) override;
  void Beep() override;
  bool ShowsQtWindows() const override { return true; }
};

}  // namespace vt::ui
