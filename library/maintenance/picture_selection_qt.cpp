#include "library/maintenance/picture_selection_qt.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <string_view>
#include <utility>

#include "library/maintenance/button_clicks.h"
#include "library/maintenance/layout.h"
#include "library/maintenance/window_views_qt.h"
#include "platform/ui/dialog_qt.h"

namespace vt::maintenance {
namespace {

namespace qt = ui::qt;
using qt::Text;

}  // namespace

PictureSelectionDialog::PictureSelectionDialog(PictureSelectionForm& form)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), form_(form) {
  const layout::Window& table = layout::PictureSelection();
  setObjectName(QString::fromLatin1(form.Name()));
  setWindowTitle(Text(form.Caption()));
  setFixedSize(layout::TwipsToPixels(table.width), layout::TwipsToPixels(table.height));
  setFont(qt::Font(table.font));

  QWidget* frame = nullptr;
  for (const layout::Control& control : table.controls) {
    QWidget* parent = control.parent != nullptr ? frame : this;
    QWidget* widget = nullptr;
    switch (control.kind) {
      case layout::Kind::Frame:
        widget = frame = new QGroupBox(parent);
        break;
      case layout::Kind::Label: {
        const int index = std::string_view(control.name) == "lblString(0)" ? 0 : 1;
        auto* label = new QLabel(Text(form.lblString(index)), parent);
        qt::Place(*label, control);
        qt::FitOnOneLine(*label);
        continue;
      }
      case layout::Kind::CheckList:
        widget = list_ = new QListWidget(parent);
        break;
      case layout::Kind::NumberBox:
        lang_number_ = new QLineEdit(parent);
        lang_number_->setAlignment(Qt::AlignCenter);
        lang_number_->installEventFilter(this);
        widget = lang_number_;
        break;
      case layout::Kind::Button:
        widget = new QPushButton(Text(control.text), parent);
        break;
      default:
        continue;
    }
    qt::Place(*widget, control);
  }

  // The inner call takes the form itself, not `this`: GCC 12 checks a `this`
  // captured by a nested lambda against the closure, which crashes UBSan.
  for (const auto& [name, click] : kPictureSelectionClicks) {
    connect(findChild<QPushButton*>(QString::fromLatin1(name)), &QPushButton::clicked, this,
            [this, click = click] { Raise([&form = form_, click] { (form.*click)(); }); });
  }

  Raise([this] { form_.Form_Load(); });
  qt::FollowTabOrder(*this, table.tab_order);
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
  // Keys that type nothing (arrows, Home, Delete, ...) raise no KeyPress, and
  // Tab moves the focus.
  if (typed.isEmpty() || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
      key->key() == Qt::Key_Delete) {
    return false;
  }
  const char16_t code = typed.at(0).unicode();
  auto KeyAscii = static_cast<std::int16_t>(code < 0x8000 ? code : u'?');
  Raise([this, &KeyAscii] { form_.txtLangNum_KeyPress(KeyAscii); });
  if (KeyAscii == 0) return true;
  // The box takes two characters from the keyboard; what Form_Load put there
  // may be longer and stays whole.
  const auto kept = lang_number_->text().size() - lang_number_->selectedText().size();
  return KeyAscii >= 32 && kept >= static_cast<qsizetype>(PictureSelectionForm::kLangNumMaxLength);
}

void PictureSelectionDialog::keyPressEvent(QKeyEvent* event) {
  // The dialog has no default button: Enter presses only the button that has
  // the focus (which takes the key itself), never one elsewhere.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
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
