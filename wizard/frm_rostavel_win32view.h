#pragma once

#include <functional>

#include "wizard/form_window.h"
#include "wizard/frm_rostavel.h"

namespace vt::wizard {

// The wizard's window as a Win32 dialog. It owns the form model, turns clicks
// into its event procedures and shows its controls as they are after each.
class FrmRostavelWin32View final : public FormWindow {
 public:
  FrmRostavelWin32View();
  ~FrmRostavelWin32View() override;
  FrmRostavelWin32View(const FrmRostavelWin32View&) = delete;
  FrmRostavelWin32View& operator=(const FrmRostavelWin32View&) = delete;

  FrmRostavel& form() { return form_; }

  // Form_Load, `before_show` (what the command line presets), the window
  // shown and Form_Activate; returns once the form has unloaded.
  void Run(const std::function<void(FrmRostavel&)>& before_show = {});

  void RemoveCloseFromTitleBar() override;
  void Hide() override;
  void Unload() override;
  void SetFocus(std::string_view control) override;
  WindowHandle Handle() override;

  // The controls' ids in the window, for tests that drive it.
  static int ControlId(std::string_view name);

 private:
  struct Impl;
  Impl* impl_;
  FrmRostavel form_;
};

}  // namespace vt::wizard
