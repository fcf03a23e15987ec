#pragma once

#include "platform/ui/backend.h"

namespace vt::ui {

// Message boxes through MessageBoxW: the style value is the Win32 one (the
// buttons, icon and default-button bits mean the same), and so are the
// answers (IDOK 1 ... IDNO 7).
class WindowsBackend final : public Backend {
 public:
  std::string_view Name() const override { return "windows"; }
  Answer ShowMessage(const MessageRequest& request) override;
  void Beep() override;
};

}  // namespace vt::ui
