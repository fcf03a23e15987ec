// The Qt views as real widgets on the offscreen platform: the layout tables,
// keys and clicks through the form models, PNG renders kept as artefacts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "library/interpreter/session.h"
#include "library/maintenance/picture_selection_qt.h"
#include "library/maintenance/splash_qt.h"
#include "platform/system/utf8_path.h"
#include "tests/maintenance/maintenance_fixture.h"
#include "tests/support/shell.h"

namespace vt::maintenance::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Placed {
  const char* name;
  QRect pixels;
  const char* tool_tip;
};

// Renders the window into the build tree's artefacts; returns the image size.
QSize Render(QWidget& window, const std::string& name) {
  const std::filesystem::path folder = vt::testing::BinaryDir() / "artefacts";
  std::filesystem::create_directories(folder);
  const QPixmap image = window.grab();
  EXPECT_TRUE(image.save(QString::fromStdString((folder / (name + ".png")).string())));
  return image.size();
}

// Waits for a modal window of type T to show, then lets `act` work on it.
template <typename T>
void WhenShown(std::function<void(T&)> act) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* window = dynamic_cast<T*>(QApplication::activeModalWidget());
    if (window == nullptr || !window->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(*window);
  });
  timer->start();
}

template <typename T = QWidget>
T* Child(QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class QtViewsTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    WriteSampleApplication();
    backend_.qt_windows = true;
    session_.configuration.strFixPath = system::Utf8FromPath(pictures());
    session_.configuration.intStartLangNum = 1;
    session_.run.blnMaintenanceRunning = true;
  }
};

TEST_F(QtViewsTest, PictureSelectionDialogsFollowTheLayout) {
  const Placed controls[] = {
      {"frmFrame", {8, 0, 433, 369}, ""},
      {"lblString(0)", {16, 24, 409, 25}, ""},
      {"lstPicList", {16, 48, 401, 220}, ""},
      {"cmdCheckAll", {16, 280, 105, 33}, " Check all the listed pictures "},
      {"cmdUncheckAll", {136, 280, 105, 33}, " Uncheck all the listed pictures "},
      {"txtLangNum", {16, 328, 105, 25}, ""},
      {"lblString(1)", {136, 334, 297, 17}, ""},
      {"cmdUpdateDictionary", {113, 384, 105, 33}, " Start checked pictures analysis "},
      {"cmdCancel", {233, 384, 105, 33}, " Cancel the updating procedure "},
  };
  for (const PictureSelectionKind kind :
       {PictureSelectionKind::UpdateDictionary, PictureSelectionKind::ChangeDevLang}) {
    PictureSelectionForm form(kind, session_, messages_, errors_);
    PictureSelectionDialog dialog(form);
    SCOPED_TRACE(form.Name());
    EXPECT_EQ(dialog.windowTitle().toStdString(), form.Caption());
    EXPECT_EQ(dialog.size(), QSize(450, 433));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "fixed border";
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowTitleHint);
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowMinMaxButtonsHint));
    for (const Placed& c : controls) {
      QWidget* widget = Child(dialog, c.name);
      EXPECT_EQ(widget->geometry(), c.pixels) << c.name;
      EXPECT_EQ(widget->toolTip().toStdString(), c.tool_tip) << c.name;
    }
    EXPECT_EQ(Child<QLabel>(dialog, "lblString(0)")->text().toStdString(), form.lblString(0));
    EXPECT_EQ(Child<QLabel>(dialog, "lblString(1)")->text().toStdString(), form.lblString(1));
    for (const char* name : {"cmdUpdateDictionary", "cmdCheckAll", "cmdUncheckAll"}) {
      EXPECT_EQ(Child(dialog, name)->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    auto* list = Child<QListWidget>(dialog, "lstPicList");
    EXPECT_EQ(list->font().family(), "Microsoft Sans Serif");
    EXPECT_TRUE(list->font().bold());
    EXPECT_DOUBLE_EQ(list->font().pointSizeF(), 9.75);
    auto* box = Child<QLineEdit>(dialog, "txtLangNum");
    EXPECT_EQ(box->font().family(), "MS Sans Serif");
    EXPECT_TRUE(box->font().bold());
    EXPECT_EQ(box->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_EQ(box->text(), "1");
    ASSERT_EQ(list->count(), 3);
    for (int row = 0; row < list->count(); ++row) {
      EXPECT_TRUE(list->item(row)->flags() & Qt::ItemIsUserCheckable);
      EXPECT_EQ(list->item(row)->checkState(), Qt::Unchecked);
    }

    // Focus starts on "Uncheck all", then Tab follows the dialog's order.
    dialog.show();
    std::vector<std::string> order;
    for (int i = 0; i < 7; ++i) {
      order.push_back(dialog.focusWidget()->objectName().toStdString());
      QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
    }
    EXPECT_THAT(order, ElementsAre("cmdUncheckAll", "cmdCheckAll", "lstPicList", "cmdCancel",
                                   "txtLangNum", "cmdUpdateDictionary", "cmdUncheckAll"));
    EXPECT_THAT(TakeMessages(), IsEmpty());
    QTest::mouseClick(Child(dialog, "cmdCheckAll"), Qt::LeftButton);
    EXPECT_EQ(Render(dialog, form.Name()), QSize(450, 433));
    dialog.hide();
  }
}

TEST_F(QtViewsTest, KeysAndClicksGoThroughTheEventProcedures) {
  PictureSelectionForm form(PictureSelectionKind::UpdateDictionary, session_, messages_, errors_);
  PictureSelectionDialog dialog(form);
  dialog.show();
  auto* box = Child<QLineEdit>(dialog, "txtLangNum");
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, "a- 2");
  EXPECT_EQ(box->text(), "2");
  EXPECT_EQ(TakeMessages(), std::vector<Message>(3, Warning("You must insert a number !")));
  QTest::keyClicks(box, "34");
  EXPECT_EQ(box->text(), "23") << "two characters at most";
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), "2");
  EXPECT_THAT(TakeMessages(), IsEmpty());

  // Escape does not close it; Ok checks the entries first.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(Child(dialog, "cmdUpdateDictionary"), Qt::LeftButton);
  EXPECT_THAT(TakeMessages(), ElementsAre(Warning("You must select one or more pictures !")));
  EXPECT_EQ(dialog.focusWidget()->objectName(), "lstPicList");

  // A person's tick reaches the model.
  auto* list = Child<QListWidget>(dialog, "lstPicList");
  list->item(1)->setCheckState(Qt::Checked);
  QTest::mouseClick(Child(dialog, "cmdUpdateDictionary"), Qt::LeftButton);
  EXPECT_TRUE(form.closed);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(session_.run.strSelectedPictures, std::vector<std::string>{form.lstPicList[1].text});
  EXPECT_EQ(session_.configuration.intStartLangNum, 2);
}

// The two-character limit is the keyboard's: a proposed number of three
// digits shows and is taken whole; Delete edits the box without KeyPress.
TEST_F(QtViewsTest, ProposedNumberAndTheDeleteKey) {
  session_.configuration.intStartLangNum = 100;
  PictureSelectionForm form(PictureSelectionKind::UpdateDictionary, session_, messages_, errors_);
  PictureSelectionDialog dialog(form);
  dialog.show();
  auto* box = Child<QLineEdit>(dialog, "txtLangNum");
  EXPECT_EQ(box->text(), "100");
  box->setFocus();
  box->deselect();
  box->end(false);
  QTest::keyClicks(box, "5");
  EXPECT_EQ(box->text(), "100") << "no third character typed";
  box->setText("23");
  box->home(false);
  // Delete as a keyboard sends it: the key with the DEL character as text.
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)));
  QApplication::sendEvent(box, &del);
  EXPECT_EQ(box->text(), "3");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  box->setText("100");

  auto* list = Child<QListWidget>(dialog, "lstPicList");
  list->item(0)->setCheckState(Qt::Checked);
  QTest::mouseClick(Child(dialog, "cmdUpdateDictionary"), Qt::LeftButton);
  EXPECT_TRUE(form.closed);
  EXPECT_EQ(session_.configuration.intStartLangNum, 100);
}

// Enter in the list of the modal dialog presses no button.
TEST_F(QtViewsTest, EnterInTheListPressesNothing) {
  auto module = CreateReady();
  std::vector<bool> checked;
  bool open_after_enter = false;
  WhenShown<PictureSelectionDialog>([&](PictureSelectionDialog& dialog) {
    auto* list = Child<QListWidget>(dialog, "lstPicList");
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter);
    for (int row = 0; row < list->count(); ++row) {
      checked.push_back(list->item(row)->checkState() == Qt::Checked);
    }
    open_after_enter = dialog.isVisible();
    QTest::mouseClick(Child(dialog, "cmdCancel"), Qt::LeftButton);
  });
  module->UpdateAndVerifyDictionary();
  EXPECT_TRUE(open_after_enter);
  EXPECT_THAT(checked, ::testing::Each(false));
}

TEST_F(QtViewsTest, UpdateRunThroughTheModalDialog) {
  auto module = CreateReady();
  WhenShown<PictureSelectionDialog>([](PictureSelectionDialog& dialog) {
    QTest::mouseClick(Child(dialog, "cmdCheckAll"), Qt::LeftButton);
    auto* box = Child<QLineEdit>(dialog, "txtLangNum");
    box->selectAll();
    QTest::keyClicks(box, "3");
    QTest::mouseClick(Child(dialog, "cmdUpdateDictionary"), Qt::LeftButton);
  });
  module->UpdateAndVerifyDictionary();
  const std::vector<Message> messages = TakeMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], UpdateNotice());
  EXPECT_EQ(messages[1].style, 48);
  EXPECT_THAT(messages[1].text, ::testing::HasSubstr("has been UPDATED"));
  EXPECT_EQ(session_.run.strSelectedPictures.size(), 3u);
}

TEST_F(QtViewsTest, SplashPanelFollowsTheLayout) {
  const Placed controls[] = {
      {"imgLogo", {24, 56, 291, 81}, ""},
      {"lblRelease", {121, 152, 97, 18}, ""},
      {"cmdOpenUserGuide_IT", {24, 264, 137, 33}, " Open the italian user guide "},
      {"cmdOpenUserGuide_EN", {176, 264, 137, 33}, " Open the english user guide "},
      {"cmdOpenIniFile", {24, 304, 137, 33}, " Open the configuration file "},
      {"cmdOpenEula", {176, 304, 137, 33}, " Open the EULA file "},
      {"cmdOk", {120, 368, 105, 33}, ""},
  };
  SplashForm form({2, 10, (dir() / "lib").string(), pictures().string()}, messages_, errors_);
  SplashDialog panel(form);
  EXPECT_EQ(panel.size(), QSize(338, 415));
  EXPECT_EQ(panel.minimumSize(), panel.maximumSize());
  EXPECT_FALSE(panel.windowFlags() & (Qt::WindowTitleHint | Qt::WindowCloseButtonHint));
  EXPECT_EQ(panel.palette().color(QPalette::Window), QColor(Qt::white));
  for (const Placed& c : controls) {
    QWidget* widget = Child(panel, c.name);
    EXPECT_EQ(widget->geometry(), c.pixels) << c.name;
    EXPECT_EQ(widget->toolTip().toStdString(), c.tool_tip) << c.name;
    if (std::string(c.name).starts_with("cmd")) {
      EXPECT_EQ(widget->cursor().shape(), Qt::PointingHandCursor) << c.name;
    }
  }
  auto* release = Child<QLabel>(panel, "lblRelease");
  EXPECT_EQ(release->text(), "Ver. 2.10");
  EXPECT_EQ(release->font().family(), "Arial");
  EXPECT_TRUE(release->font().bold());
  EXPECT_EQ(release->font().pointSize(), 12);
  EXPECT_EQ(release->palette().color(QPalette::WindowText), QColor(0, 0, 192));
  EXPECT_EQ(Child<QLabel>(panel, "imgLogo")->pixmap().size(), QSize(291, 81));
  EXPECT_EQ(panel.focusWidget()->objectName(), "cmdOk");
  EXPECT_EQ(Render(panel, "frmSplash"), QSize(338, 415));
  // A border all round: the panel has no title bar to show its edge.
  const QImage image = panel.grab().toImage();
  for (const QPoint edge : {QPoint(0, 200), QPoint(337, 200), QPoint(170, 0), QPoint(170, 414)}) {
    EXPECT_LT(qGray(image.pixel(edge)), 128) << edge.x() << "," << edge.y();
  }
}

TEST_F(QtViewsTest, EnterOnTheOpenPanelIsOkAndEditsMadeMeanwhileApply) {
  WriteIni({{"ShowInfoPanelOnStartup", "Y"}});
  std::string focused;
  WhenShown<SplashDialog>([this, &focused](SplashDialog& panel) {
    focused = panel.focusWidget()->objectName().toStdString();
    Child<QPushButton>(panel, "cmdOpenIniFile")->click();
    WriteIni({{"ShowInfoPanelOnStartup", "Y"}, {"InterpreterEnabled", "N"}});
    QTest::keyClick(panel.focusWidget(), Qt::Key_Escape);
    QTest::keyClick(panel.focusWidget(), Qt::Key_Return);
  });
  backend_.attended = true;
  interpreter::VeltranoModule module(session_);
  EXPECT_EQ(focused, "cmdOk");
  EXPECT_THAT(test_env_->started, ElementsAre("Notepad.exe " + ini_path().string()));
  EXPECT_EQ(module.lifecycle(), interpreter::Lifecycle::Disabled);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

}  // namespace
}  // namespace vt::maintenance::testing
