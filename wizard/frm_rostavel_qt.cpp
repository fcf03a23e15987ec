#include "wizard/frm_rostavel_qt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/ui/dialog_qt.h"
#include "platform/ui/msgbox.h"
#include "wizard/frm_rostavel_layout.h"

namespace vt::wizard {
namespace {

namespace layout = ui::layout;
namespace qt = ui::qt;

const QColor kTitleBar(0x1f, 0x4e, 0x79);

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Indexed(const char* name, std::size_t index) {
  return QString("%1(%2)").arg(name).arg(index);
}

const layout::Control& Control(const char* name) { return layout::Find(FrmRostavelLayout(), name); }

// Placed as the layout says; a page's own copy of a control carries the page
// in its name, as lblTitle(1).
template <typename Widget>
Widget* Placed(Widget* widget, const char* name, std::optional<std::size_t> page = {}) {
  qt::Place(*widget, Control(name));
  if (page) widget->setObjectName(Indexed(name, *page));
  return widget;
}

QLabel* Picture(QWidget* parent, const char* name, QStyle::StandardPixmap which,
                std::optional<std::size_t> page = {}) {
  auto* label = Placed(new QLabel(parent), name, page);
  label->setAlignment(Qt::AlignCenter);
  const int size = std::min(label->width(), label->height());
  label->setPixmap(parent->style()->standardIcon(which).pixmap(size, size));
  return label;
}

// A click anywhere on its row toggles the box, as on Windows.
class RowCheckBox final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

Qt::CheckState StateOf(int value) {
  return value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked;
}

int ValueOf(Qt::CheckState state) {
  return state == Qt::Unchecked ? 0 : state == Qt::Checked ? 1 : 2;
}

}  // namespace

FrmRostavelView::FrmRostavelView(std::function<void()> unloaded)
    : form_(*this), unloaded_(std::move(unloaded)) {
  const layout::Window& table = FrmRostavelLayout();
  setObjectName("frmRostavel");
  setFixedSize(layout::TwipsToPixels(table.width), layout::TwipsToPixels(table.height));
  setFont(qt::Font(table.font));

  for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) pages_[page] = MakePage(page);

  QWidget* start = pages_[0];
  Picture(start, "imgStart", QStyle::SP_FileDialogNewFolder);

  QWidget* folder = pages_[1];
  folder_label_ = Placed(new QLabel(folder), "lblPicturesFolder");
  folder_label_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  folder_label_->setWordWrap(true);
  folder_label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  folder_label_->setTextFormat(Qt::PlainText);
  folder_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  MakeButton(folder, form_.cmdBrowseForFolder, &FrmRostavel::cmdBrowseForFolder_Click);

  QWidget* files = pages_[2];
  MakeCheckBox(files, &FrmRostavel::chkDictionary, &FrmRostavel::chkDictionary_Click);
  MakeCheckBox(files, &FrmRostavel::chkAlarmsDictionary, nullptr);
  MakeCheckBox(files, &FrmRostavel::chkConfiguration, &FrmRostavel::chkConfiguration_Click);
  MakeCheckBox(files, &FrmRostavel::chkVbaModule, &FrmRostavel::chkVbaModule_Click);

  QWidget* finish = pages_[3];
  Picture(finish, "imgFinish", QStyle::SP_DialogApplyButton);

  MakeButton(this, form_.cmdPrevious, &FrmRostavel::cmdPrevious_Click);
  MakeButton(this, form_.cmdNext, &FrmRostavel::cmdNext_Click);
  MakeButton(this, form_.cmdConfirm, &FrmRostavel::cmdConfirm_Click);
  MakeButton(this, form_.cmdClose, &FrmRostavel::cmdClose_Click);

  qt::FollowTabOrder(*this, table.tab_order);
  Sync();
}

QWidget* FrmRostavelView::MakePage(std::size_t page) {
  // The pages lie over the window above its buttons, so that their controls
  // keep the window's coordinates.
  auto* container = new QWidget(this);
  container->setObjectName(Indexed("picContainer", page));
  container->setGeometry(0, 0, width(), layout::TwipsToPixels(Control("cmdPrevious").top));

  auto* bar = Placed(new QFrame(container), "shpTitle", page);
  bar->setAutoFillBackground(true);
  QPalette bar_palette = bar->palette();
  bar_palette.setColor(QPalette::Window, kTitleBar);
  bar->setPalette(bar_palette);
  Picture(container, "imgTitleIcon", QStyle::SP_DirIcon, page);
  auto* title = Placed(new QLabel(Text(form_.lblTitle[page].Caption), container), "lblTitle", page);
  QPalette title_palette = title->palette();
  title_palette.setColor(QPalette::WindowText, Qt::white);
  title->setPalette(title_palette);

  auto* frame = Placed(new QFrame(container), "fraStep", page);
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* description = Placed(new QLabel(Text(form_.lblStepDescription[page].Caption), container),
                             "lblStepDescription", page);
  description->setWordWrap(true);
  description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return container;
}

QPushButton* FrmRostavelView::MakeButton(QWidget* parent, const CommandButton& button,
                                         void (FrmRostavel::*click)()) {
  auto* widget = Placed(new QPushButton(Text(button.Caption), parent), button.Name.c_str());
  // Enter presses the focused button, as on the host's forms.
  widget->setAutoDefault(true);
  connect(widget, &QPushButton::clicked, this, [this, click] {
    (form_.*click)();
    Sync();
  });
  for (auto& slot : buttons_) {
    if (slot.first == nullptr) {
      slot = {widget, &button};
      break;
    }
  }
  return widget;
}

QCheckBox* FrmRostavelView::MakeCheckBox(QWidget* parent, CheckBox FrmRostavel::*box,
                                         void (FrmRostavel::*click)()) {
  const CheckBox& model = form_.*box;
  auto* widget = Placed(new RowCheckBox(Text(model.Caption), parent), model.Name.c_str());
  connect(widget, &QCheckBox::clicked, this, [this, widget, box, click] {
    (form_.*box).Value = ValueOf(widget->checkState());
    if (click != nullptr) (form_.*click)();
    Sync();
  });
  for (auto& slot : boxes_) {
    if (slot.first == nullptr) {
      slot = {widget, &model};
      break;
    }
  }
  return widget;
}

void FrmRostavelView::Open(const std::function<void(FrmRostavel&)>& before_show) {
  form_.Form_Load();
  if (before_show) before_show(form_);
  Sync();
  show();
}

void FrmRostavelView::Sync() {
  setWindowTitle(Text(form_.Caption));
  for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) {
    pages_[page]->setVisible(form_.picContainer[page].Visible);
  }
  for (const auto& [widget, button] : buttons_) {
    widget->setText(Text(button->Caption));
    widget->setEnabled(button->Enabled);
  }
  for (const auto& [widget, box] : boxes_) widget->setCheckState(StateOf(box->Value));
  folder_label_->setText(Text(form_.lblPicturesFolder.Caption));
}

void FrmRostavelView::RemoveCloseFromTitleBar() {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinimizeButtonHint);
}

void FrmRostavelView::Hide() { hide(); }

void FrmRostavelView::Unload() {
  if (unloading_) return;
  unloading_ = true;
  form_.Form_Unload();
  close();
  if (unloaded_) unloaded_();
}

void FrmRostavelView::SetFocus(std::string_view control) {
  Sync();  // a disabled or hidden widget would not take the focus
  for (const auto& [widget, button] : buttons_) {
    if (button->Name == control) widget->setFocus(Qt::OtherFocusReason);
  }
}

void FrmRostavelView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;  // restored from the task bar: no new activation
  if (!shown_before_) ui::RecordWindowShown("frmRostavel", form_.Caption);
  shown_before_ = true;
  // Message boxes and the folder dialog are not forms: coming back from them
  // is no activation, as on the host, so the form activates when it shows.
  form_.Form_Activate();
  Sync();
}

void FrmRostavelView::closeEvent(QCloseEvent* event) {
  // Only the wizard's own buttons end it.
  if (unloading_) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace vt::wizard
