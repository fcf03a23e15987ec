#include "wizard/frm_rostavel_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

#include "platform/ui/msgbox.h"

namespace vt::wizard {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Indexed(const char* name, std::size_t index) {
  return QString("%1(%2)").arg(name).arg(index);
}

QLabel* Picture(QWidget* parent, const char* name, QStyle::StandardPixmap which, int size) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setPixmap(parent->style()->standardIcon(which).pixmap(size, size));
  return label;
}

Qt::CheckState StateOf(int value) {
  return value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked;
}

int ValueOf(Qt::CheckState state) {
  return state == Qt::Unchecked ? 0 : state == Qt::Checked ? 1 : 2;
}

}  // namespace

FrmRostavelView::FrmRostavelView(std::function<void()> unloaded)
    : form_(*this), unloaded_(std::move(unloaded)) {
  setObjectName("frmRostavel");
  setFixedSize(520, 360);

  auto* start = new QWidget;
  auto* start_layout = new QHBoxLayout(start);
  start_layout->addStretch();
  start_layout->addWidget(Picture(start, "imgStart", QStyle::SP_FileDialogNewFolder, 96));
  start_layout->addStretch();

  auto* folder = new QWidget;
  auto* folder_layout = new QHBoxLayout(folder);
  folder_layout->setContentsMargins(0, 0, 0, 0);
  folder_label_ = new QLabel(folder);
  folder_label_->setObjectName("lblPicturesFolder");
  folder_label_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  folder_label_->setWordWrap(true);
  folder_label_->setTextFormat(Qt::PlainText);
  folder_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  folder_label_->setMinimumHeight(48);
  folder_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  folder_layout->addWidget(folder_label_, 1);
  auto* browse = MakeButton(form_.cmdBrowseForFolder, &FrmRostavel::cmdBrowseForFolder_Click);
  browse->setParent(folder);
  browse->setFixedWidth(32);
  folder_layout->addWidget(browse, 0, Qt::AlignTop);

  auto* files = new QWidget;
  auto* files_layout = new QVBoxLayout(files);
  files_layout->setContentsMargins(0, 0, 0, 0);
  // At their own width: a box stretched over the row ignores clicks on its
  // empty part.
  for (auto* box :
       {MakeCheckBox(&FrmRostavel::chkDictionary, &FrmRostavel::chkDictionary_Click),
        MakeCheckBox(&FrmRostavel::chkAlarmsDictionary, nullptr),
        MakeCheckBox(&FrmRostavel::chkConfiguration, &FrmRostavel::chkConfiguration_Click),
        MakeCheckBox(&FrmRostavel::chkVbaModule, &FrmRostavel::chkVbaModule_Click)}) {
    files_layout->addWidget(box, 0, Qt::AlignLeft);
  }

  auto* finish = new QWidget;
  auto* finish_layout = new QHBoxLayout(finish);
  finish_layout->addStretch();
  finish_layout->addWidget(Picture(finish, "imgFinish", QStyle::SP_DialogApplyButton, 96));
  finish_layout->addStretch();

  auto* layout = new QVBoxLayout(this);
  const std::array<QWidget*, FrmRostavel::kPages> contents{start, folder, files, finish};
  for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) {
    pages_[page] = MakePage(page, contents[page]);
    layout->addWidget(pages_[page], 1);
  }

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  layout->addWidget(line);

  auto* button_row = new QHBoxLayout;
  button_row->addStretch();
  button_row->addWidget(MakeButton(form_.cmdPrevious, &FrmRostavel::cmdPrevious_Click));
  button_row->addWidget(MakeButton(form_.cmdNext, &FrmRostavel::cmdNext_Click));
  button_row->addSpacing(16);
  button_row->addWidget(MakeButton(form_.cmdConfirm, &FrmRostavel::cmdConfirm_Click));
  button_row->addWidget(MakeButton(form_.cmdClose, &FrmRostavel::cmdClose_Click));
  layout->addLayout(button_row);

  Sync();
}

QWidget* FrmRostavelView::MakePage(std::size_t page, QWidget* content) {
  auto* container = new QWidget(this);
  container->setObjectName(Indexed("picContainer", page));
  auto* layout = new QVBoxLayout(container);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* bar = new QFrame(container);
  bar->setObjectName(Indexed("shpTitle", page));
  bar->setAutoFillBackground(true);
  QPalette bar_palette = bar->palette();
  bar_palette.setColor(QPalette::Window, QColor(0x1f, 0x4e, 0x79));
  bar_palette.setColor(QPalette::WindowText, Qt::white);
  bar->setPalette(bar_palette);
  bar->setFixedHeight(52);
  auto* bar_layout = new QHBoxLayout(bar);
  auto* icon = Picture(bar, "", QStyle::SP_DirIcon, 32);
  icon->setObjectName(Indexed("imgTitleIcon", page));
  bar_layout->addWidget(icon);
  auto* title = new QLabel(Text(form_.lblTitle[page].Caption), bar);
  title->setObjectName(Indexed("lblTitle", page));
  QFont title_font = title->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
  title->setFont(title_font);
  bar_layout->addWidget(title, 1);
  layout->addWidget(bar);

  auto* frame = new QFrame(container);
  frame->setObjectName(Indexed("fraStep", page));
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* frame_layout = new QVBoxLayout(frame);
  auto* description = new QLabel(Text(form_.lblStepDescription[page].Caption), frame);
  description->setObjectName(Indexed("lblStepDescription", page));
  description->setWordWrap(true);
  frame_layout->addWidget(description);
  frame_layout->addSpacing(8);
  content->setParent(frame);
  frame_layout->addWidget(content);
  frame_layout->addStretch();
  layout->addWidget(frame, 1);
  return container;
}

QPushButton* FrmRostavelView::MakeButton(const CommandButton& button,
                                         void (FrmRostavel::*click)()) {
  auto* widget = new QPushButton(Text(button.Caption), this);
  widget->setObjectName(Text(button.Name));
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

QCheckBox* FrmRostavelView::MakeCheckBox(CheckBox FrmRostavel::*box, void (FrmRostavel::*click)()) {
  const CheckBox& model = form_.*box;
  auto* widget = new QCheckBox(Text(model.Caption), this);
  widget->setObjectName(Text(model.Name));
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
