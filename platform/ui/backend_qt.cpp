#include "platform/ui/backend_qt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <stdexcept>

#include "platform/ui/line_breaks.h"

namespace vt::ui {
namespace {

QMessageBox::Icon ToQt(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQt(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return QMessageBox::Ok;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::Abort:
      return QMessageBox::Abort;
    case Answer::Retry:
      return QMessageBox::Retry;
    case Answer::Ignore:
      return QMessageBox::Ignore;
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::No:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

// Opens centred on the window it belongs to, whatever the platform's own
// placement would do (the screen's centre, or its corner without a window
// manager).
class CentredMessageBox final : public QMessageBox {
 public:
  explicit CentredMessageBox(QWidget* owner) : QMessageBox(owner) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);  // sizes the box
    if (const QWidget* owner = parentWidget()) {
      move(owner->window()->frameGeometry().center() - rect().center());
    }
  }
};

QString FromUtf8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

Answer QtBackend::ShowMessage(const MessageRequest& request) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    throw std::runtime_error("no QApplication in this process");
  }
  const Style& style = request.decoded;
  // Centred on the window it was raised from: the modal one (a dialog of the
  // system), else the active one.
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  CentredMessageBox box(owner);
  box.setIcon(ToQt(style.icon));
  box.setWindowTitle(FromUtf8(request.title));
  // Plain text: a message quoting markup must show it, not render it.
  box.setTextFormat(Qt::PlainText);
  box.setText(FromUtf8(WithLineFeeds(request.text)));

  const auto buttons = ButtonsOf(style.buttons);
  for (Answer a : buttons) box.addButton(ToQt(a));
  box.setDefaultButton(ToQt(buttons[static_cast<std::size_t>(style.default_button)]));
  const Answer safe = SafeAnswer(style.buttons);
  box.setEscapeButton(box.button(ToQt(safe)));

  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  if (clicked == nullptr) return safe;
  for (Answer a : buttons) {
    if (box.button(ToQt(a)) == clicked) return a;
  }
  return safe;
}

void QtBackend::Beep() { QApplication::beep(); }

}  // namespace vt::ui
