#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string_view>

#include "wizard/form_window.h"
#include "wizard/frm_rostavel.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vt::wizard {

// The wizard's window in Qt widgets. It owns the form model, turns clicks
// into its event procedures and shows its controls as they are after each.
// The widgets carry the controls' names (picContainer(0), cmdNext, ...) and
// lie where the window's layout table puts them.
class FrmRostavelView final : public QWidget, public FormWindow {
 public:
  // `unloaded` runs once the form is unloaded (the program may end then).
  explicit FrmRostavelView(std::function<void()> unloaded = {});

  FrmRostavel& form() { return form_; }

  // Form_Load, then the window shown; Form_Activate follows when it shows.
  // `before_show` runs between the two (what the command line presets).
  void Open(const std::function<void(FrmRostavel&)>& before_show = {});

  void RemoveCloseFromTitleBar() override;
  void Hide() override;
  void Unload() override;
  void SetFocus(std::string_view control) override;
  WindowHandle Handle() override { return this; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // A page's container with its title bar, frame and description.
  QWidget* MakePage(std::size_t page);
  QPushButton* MakeButton(QWidget* parent, const CommandButton& button,
                          void (FrmRostavel::*click)());
  QCheckBox* MakeCheckBox(QWidget* parent, CheckBox FrmRostavel::*box,
                          void (FrmRostavel::*click)());
  // Brings the widgets into line with the form's controls.
  void Sync();

  FrmRostavel form_;
  std::function<void()> unloaded_;
  bool unloading_ = false;
  bool shown_before_ = false;
  std::array<QWidget*, FrmRostavel::kPages> pages_{};
  QLabel* folder_label_ = nullptr;
  std::array<std::pair<QPushButton*, const CommandButton*>, 5> buttons_{};
  std::array<std::pair<QCheckBox*, const CheckBox*>, 4> boxes_{};
};

}  // namespace vt::wizard
