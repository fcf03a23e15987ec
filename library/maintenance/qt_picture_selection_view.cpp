#include "library/maintenance/qt_picture_selection_view.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <utility>

#include "library/maintenance/qt_layout.h"
#include "library/maintenance/qt_views.h"

namespace vt::maintenance {
namespace {

using qt::Text;
using qt::Twips;

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* tip,
                    QRect where, bool pointing_hand) {
  auto* button = new QPushButton(Text(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(Text(tip));
  button->setGeometry(where);
  if (pointing_hand) button->setCursor(Qt::PointingHandCursor);
  return button;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption, QRect where) {
  auto* label = new QLabel(Text(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(where);
  qt::FitOnOneLine(*label);
  return label;
}

}  // namespace

PictureSelectionDialog::PictureSelectionDialog(PictureSelectionForm& form)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), form_(form) {
  setObjectName(QString::fromLatin1(form.Name()));
  setWindowTitle(Text(form.Caption()));
  setFixedSize(TwipsToPixels(6750), TwipsToPixels(6495));
  setFont(qt::Font("MS Sans Serif", 8, false));

  auto* frame = new QGroupBox(this);
  frame->setObjectName(QStringLiteral("frmFrame"));
  frame->setGeometry(Twips(120, 0, 6495, 5535));
  Label(frame, "lblString(0)", form.lblString(0), Twips(240, 360, 6135, 375));
  list_ = new QListWidget(frame);
  list_->setObjectName(QStringLiteral("lstPicList"));
  list_->setGeometry(Twips(240, 720, 6015, 3300));
  list_->setFont(qt::Font("Microsoft Sans Serif", 9.75, true));
  QPushButton* check_all =
      Button(frame, "cmdCheckAll", "Check all", " Check all the listed pictures ",
             Twips(240, 4200, 1575, 495), true);
  QPushButton* uncheck_all =
      Button(frame, "cmdUncheckAll", "Uncheck all", " Uncheck all the listed pictures ",
             Twips(2040, 4200, 1575, 495), true);
  lang_number_ = new QLineEdit(frame);
  lang_number_->setObjectName(QStringLiteral("txtLangNum"));
  lang_number_->setGeometry(Twips(240, 4920, 1575, 375));
  lang_number_->setAlignment(Qt::AlignCenter);
  lang_number_->setMaxLength(static_cast<int>(PictureSelectionForm::kLangNumMaxLength));
  lang_number_->setFont(qt::Font("MS Sans Serif", 9.75, true));
  lang_number_->installEventFilter(this);
  Label(frame, "lblString(1)", form.lblString(1), Twips(2040, 5010, 4455, 255));
  QPushButton* ok = Button(this, "cmdUpdateDictionary", "Ok", " Start checked pictures analysis ",
                           Twips(1688, 5760, 1575, 495), true);
  QPushButton* cancel = Button(this, "cmdCancel", "Cancel", " Cancel the updating procedure ",
                               Twips(3488, 5760, 1575, 495), false);

  QWidget::setTabOrder(uncheck_all, check_all);
  QWidget::setTabOrder(check_all, list_);
  QWidget::setTabOrder(list_, cancel);
  QWidget::setTabOrder(cancel, lang_number_);
  QWidget::setTabOrder(lang_number_, ok);

  connect(check_all, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdCheckAll_Click(); }); });
  connect(uncheck_all, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdUncheckAll_Click(); }); });
  connect(cancel, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdCancel_Click(); }); });
  connect(ok, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdUpdateDictionary_Click(); }); });

  Raise([this] { form_.Form_Load(); });
  uncheck_all->setFocus();
}

void PictureSelectionDialog::closeEvent(QCloseEvent* event) {
  if (!form_.closed) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

bool PictureSelectionDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != lang_number_ || event->type() != QEvent::KeyPress) {
    return QDialog::eventFilter(watched, event);
  }
  const auto* key = static_cast<QKeyEvent*>(event);
  const QString typed = key->text();
  // Keys that type nothing (arrows, Home, ...) raise no KeyPress, and Tab
  // moves the focus.
  if (typed.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
    return false;
  }
  const char16_t code = typed.at(0).unicode();
  auto KeyAscii = static_cast<std::int16_t>(code < 0x8000 ? code : u'?');
  Raise([this, &KeyAscii] { form_.txtLangNum_KeyPress(KeyAscii); });
  return KeyAscii == 0;
}

void PictureSelectionDialog::Raise(const std::function<void()>& procedure) {
  for (int row = 0; row < list_->count() && row < static_cast<int>(form_.lstPicList.size());
       ++row) {
    form_.lstPicList[static_cast<std::size_t>(row)].selected =
        list_->item(row)->checkState() == Qt::Checked;
  }
  form_.lstPicListIndex = list_->currentRow();
  form_.txtLangNum = lang_number_->text().toStdString();
  procedure();
  ShowModelState();
  if (form_.closed) done(QDialog::Accepted);
}

void PictureSelectionDialog::ShowModelState() {
  if (list_->count() != static_cast<int>(form_.lstPicList.size())) {
    list_->clear();
    for (const PictureSelectionForm::ListEntry& entry : form_.lstPicList) {
      auto* item = new QListWidgetItem(QString::fromStdString(entry.text), list_);
      item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
  }
  for (int row = 0; row < list_->count(); ++row) {
    list_->item(row)->setCheckState(
        form_.lstPicList[static_cast<std::size_t>(row)].selected ? Qt::Checked : Qt::Unchecked);
  }
  if (form_.lstPicListIndex >= 0 && form_.lstPicListIndex != list_->currentRow()) {
    list_->setCurrentRow(form_.lstPicListIndex);
  }
  const QString text = QString::fromStdString(form_.txtLangNum);
  if (lang_number_->text() != text) lang_number_->setText(text);
  switch (std::exchange(form_.focus_request, PictureSelectionForm::Control::None)) {
    case PictureSelectionForm::Control::lstPicList:
      list_->setFocus();
      break;
    case PictureSelectionForm::Control::txtLangNum:
      lang_number_->setFocus();
      break;
    case PictureSelectionForm::Control::None:
      break;
  }
}

void RunQtView(PictureSelectionForm& form) {
  PictureSelectionDialog dialog(form);
  qt::CentreOnScreen(dialog);
  dialog.exec();
}

}  // namespace vt::maintenance
