#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/ui/backend_qt.h"
#include "platform/ui/configure.h"
#include "platform/ui/msgbox.h"
#include "tests/ui/test_support.h"

namespace vt::ui {
namespace {

struct Seen {
  bool shown = false;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
  QString title;
  QString text;
  Qt::TextFormat format = Qt::AutoText;
};

// Waits for the modal box, notes what it shows, then lets `act` answer it.
std::shared_ptr<const Seen> Answering(const std::function<void(QMessageBox&)>& act) {
  auto seen = std::make_shared<Seen>();
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, seen, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    seen->shown = true;
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    seen->default_button = box->standardButton(box->defaultButton());
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->format = box->textFormat();
    act(*box);
  });
  timer->start();
  return seen;
}

std::function<void(QMessageBox&)> Click(QMessageBox::StandardButton which) {
  return [which](QMessageBox& box) { box.button(which)->click(); };
}

void PressEscape(QMessageBox& box) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&box, &press);
}

class UiQtBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr);
    Configure(test::ModeOptions(Mode::Gui));
    ASSERT_EQ(CurrentBackend().Name(), "qt");
  }
  void TearDown() override { Configure(test::BatchOptions()); }
};

TEST_F(UiQtBackendTest, CriticalOkBox) {
  const auto seen = Answering(Click(QMessageBox::Ok));
  const int answer = MsgBox(
      "The file \"/p/Veltrano.xls\" does not exist:\r\nVeltrano cannot "
      "start.\r\n\r\nPlease call your supplier !",
      16, " Veltrano - WARNING");
  EXPECT_EQ(answer, kOk);
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->icon, QMessageBox::Critical);
  EXPECT_EQ(seen->buttons, QMessageBox::Ok);
  EXPECT_EQ(seen->title, QString(" Veltrano - WARNING"));
  EXPECT_EQ(seen->text, QString("The file \"/p/Veltrano.xls\" does not exist:\nVeltrano cannot "
                                "start.\n\nPlease call your supplier !"));
  EXPECT_EQ(seen->format, Qt::PlainText);
}

TEST_F(UiQtBackendTest, QuestionYesNoBox) {
  for (auto [button, expected] :
       {std::pair{QMessageBox::Yes, kYes}, std::pair{QMessageBox::No, kNo}}) {
    const auto seen = Answering(Click(button));
    EXPECT_EQ(MsgBox("Did you select ALL the pictures ?", 36, " Veltrano - Confirmation request"),
              expected);
    ASSERT_TRUE(seen->shown);
    EXPECT_EQ(seen->icon, QMessageBox::Question);
    EXPECT_EQ(seen->buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen->default_button, QMessageBox::Yes);
  }
}

TEST_F(UiQtBackendTest, EscapeOnYesNoIsNo) {
  const auto seen = Answering(PressEscape);
  EXPECT_EQ(MsgBox("q", 36, "T"), kNo);
  EXPECT_TRUE(seen->shown);
}

TEST_F(UiQtBackendTest, ExclamationAndInformationOkBoxes) {
  {
    const auto seen = Answering(Click(QMessageBox::Ok));
    EXPECT_EQ(MsgBox("Rostavel has been aborted !", 48, " Veltrano - Warning"), kOk);
    EXPECT_EQ(seen->icon, QMessageBox::Warning);
    EXPECT_EQ(seen->buttons, QMessageBox::Ok);
  }
  {
    const auto seen = Answering(PressEscape);
    EXPECT_EQ(MsgBox("Rostavel has completed !", 64, " Veltrano - Information"), kOk);
    EXPECT_EQ(seen->icon, QMessageBox::Information);
    EXPECT_EQ(seen->buttons, QMessageBox::Ok);
  }
}

TEST_F(UiQtBackendTest, InformationOkCancelBox) {
  for (auto [act, expected] :
       {std::pair{Click(QMessageBox::Ok), kOk}, std::pair{Click(QMessageBox::Cancel), kCancel},
        std::pair{std::function<void(QMessageBox&)>(PressEscape), kCancel}}) {
    const auto seen = Answering(act);
    EXPECT_EQ(MsgBox("Go on ?", 65, " Veltrano - Informations"), expected);
    EXPECT_EQ(seen->icon, QMessageBox::Information);
    EXPECT_EQ(seen->buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(seen->title, QString(" Veltrano - Informations"));
  }
}

TEST_F(UiQtBackendTest, TextIsShownAsTextNotMarkup) {
  const auto seen = Answering(Click(QMessageBox::Ok));
  MsgBox("<b>Ünïcode</b> & more", 0, "");
  EXPECT_EQ(seen->text, QString::fromUtf8("<b>Ünïcode</b> & more"));
  EXPECT_EQ(seen->format, Qt::PlainText);
  EXPECT_EQ(seen->icon, QMessageBox::NoIcon);
}

// A box raised from a modal window (a click in one of the system's dialogs)
// opens centred on that window, wherever it lies.
TEST_F(UiQtBackendTest, BoxIsCentredOnTheWindowItWasRaisedFrom) {
  QDialog window;
  window.setFixedSize(450, 433);
  window.move(700, 300);
  QPoint box_centre;
  QTimer::singleShot(0, &window, [&window, &box_centre] {
    Answering([&box_centre](QMessageBox& box) {
      box_centre = box.frameGeometry().center();
      box.button(QMessageBox::Ok)->click();
    });
    MsgBox("You must select one or more pictures !", 48, " Veltrano - Warning");
    window.done(0);
  });
  window.exec();
  const QPoint window_centre = window.frameGeometry().center();
  EXPECT_LE((box_centre - window_centre).manhattanLength(), 4)
      << "box centre " << box_centre.x() << "," << box_centre.y() << ", window centre "
      << window_centre.x() << "," << window_centre.y();
}

TEST_F(UiQtBackendTest, RestoreDefaultMousePointerPopsEveryOverride) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  RestoreDefaultMousePointer();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(UiQtBackendTest, DoEventsRunsPendingEvents) {
  bool ran = false;
  QTimer::singleShot(0, qApp, [&ran] { ran = true; });
  DoEvents();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace vt::ui
