// Page 1: the folder dialog's answer, cancel included, reaches the form and
// the label whole.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "tests/wizard/wizard_fixture.h"

namespace vt::wizard::testing {
namespace {

namespace fs = std::filesystem;

class WizardBrowseTest : public WizardTest {
 protected:
  void SetUp() override {
    OpenWindow();
    Click("cmdNext");
  }
  QString Label() { return view().findChild<QLabel*>("lblPicturesFolder")->text(); }
  bool NextEnabled() { return view().findChild<QPushButton*>("cmdNext")->isEnabled(); }
};

// A folder whose full path is exactly `length` characters.
fs::path FolderOfLength(const fs::path& base, std::size_t length) {
  fs::path folder = base;
  while (folder.string().size() < length) {
    const std::size_t remaining = length - folder.string().size();  // a separator included
    folder /= std::string(remaining > 101 ? 99 : remaining - 1, 'd');
  }
  fs::create_directories(folder);
  return folder;
}

TEST_F(WizardBrowseTest, ChosenThenCancelled) {
  const std::string chosen = (pictures()).string();
  dialog_.answers = {chosen, std::nullopt};
  Click("cmdBrowseForFolder");
  EXPECT_EQ(form().strPicturesFolder, chosen);
  EXPECT_EQ(Label(), QString::fromStdString(chosen));
  EXPECT_TRUE(NextEnabled());
  ASSERT_EQ(dialog_.titles.size(), 1u);
  EXPECT_EQ(dialog_.titles[0], "Search for iFix application pictures folder...");
  EXPECT_EQ(dialog_.owners[0], static_cast<WindowHandle>(&view()));

  // Cancel clears what had been chosen.
  Click("cmdBrowseForFolder");
  EXPECT_EQ(form().strPicturesFolder, "");
  EXPECT_EQ(Label(), QString());
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(WizardBrowseTest, LongPathsComeBackWhole) {
  for (std::size_t length : {259u, 400u}) {
    const fs::path folder = FolderOfLength(dir() / "long", length);
    ASSERT_EQ(folder.string().size(), length);
    dialog_.answers.emplace_back(folder.string());
    Click("cmdBrowseForFolder");
    EXPECT_EQ(form().strPicturesFolder, folder.string()) << length;
    EXPECT_EQ(Label().toStdString(), folder.string()) << length;
  }
}

TEST(TrimAtNullTest, CutsAtTheFirstNul) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"", ""},
      {std::string("\0\0\0", 3), ""},
      {std::string("/home/app\0\0\0", 12), "/home/app"},
      {std::string("a\0b\0", 4), "a"},
      {"/no/nul", "/no/nul"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(TrimAtNull(text), expected);
}

// The desktop's dialog itself, answered as a person would: the folder typed
// in, OK pressed once the dialog has taken it. The dialog loads folders in a
// thread and its focus decides what selectFile does, so it is accepted only
// when what it would return is the folder, never after a guessed delay.
TEST_F(WizardBrowseTest, QtFolderDialogChoosesAndCancels) {
  ScopedFolderDialog real(FolderDialog::Default());
  const fs::path folder = pictures();
  const QString path = QString::fromStdString(folder.string());
  for (const bool accept : {true, false}) {
    QString title;
    auto* timer = new QTimer(&view());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible()) return;
      title = dialog->windowTitle();
      if (!accept) {
        timer->stop();
        dialog->reject();
        return;
      }
      if (dialog->selectedFiles() != QStringList{path}) {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        if (name->text() != path) name->setText(path);
        return;  // taken on a later tick, once the dialog has caught up
      }
      timer->stop();
      static_cast<QDialog*>(dialog)->accept();  // public there, overridden here
    });
    timer->start();
    Click("cmdBrowseForFolder");
    delete timer;
    EXPECT_EQ(title, QString("Search for iFix application pictures folder..."));
    EXPECT_EQ(form().strPicturesFolder, accept ? folder.string() : "") << accept;
    EXPECT_EQ(NextEnabled(), accept);
  }
}

}  // namespace
}  // namespace vt::wizard::testing
