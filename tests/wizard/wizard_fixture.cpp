#include "tests/wizard/wizard_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QTest>
#include <algorithm>

#include "tests/support/shell.h"

namespace vt::wizard::testing {
namespace fs = std::filesystem;

std::optional<std::string> ScriptedFolderDialog::ChooseFolder(WindowHandle owner,
                                                              const std::string& title) {
  owners.push_back(owner);
  titles.push_back(title);
  if (titles.size() > answers.size()) return std::nullopt;
  return answers[titles.size() - 1];
}

fs::path BuiltKelmora() { return vt::testing::BinaryDir() / "bin" / "Kelmora"; }

WizardTest::WizardTest() {
  fs::create_directories(kelmora());
  fs::create_directories(pictures());
  for (const std::string& name : kTemplates) fs::copy_file(BuiltKelmora() / name, kelmora() / name);
  app_path_.emplace(program().string());
}

FrmRostavelView& WizardTest::OpenWindow() {
  view_ = std::make_unique<FrmRostavelView>();
  view_->Open();
  return *view_;
}

void WizardTest::Click(const char* name) {
  auto* widget = view_->findChild<QAbstractButton*>(name);
  ASSERT_NE(widget, nullptr) << name;
  ASSERT_TRUE(widget->isVisible()) << name;
  QTest::mouseClick(widget, Qt::LeftButton);
}

std::string WizardTest::Focused() const {
  const QWidget* focused = view_->focusWidget();
  return focused == nullptr ? std::string() : focused->objectName().toStdString();
}

void WizardTest::ToFilesPage(const std::string& folder) {
  dialog_.answers.emplace_back(folder);
  Click("cmdNext");
  Click("cmdBrowseForFolder");
  Click("cmdNext");
  ASSERT_EQ(form().bytStep, 2);
}

void WizardTest::ConfirmWith(const std::vector<bool>& boxes) {
  const char* names[] = {"chkDictionary", "chkAlarmsDictionary", "chkConfiguration",
                         "chkVbaModule"};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    auto* box = view_->findChild<QCheckBox*>(names[i]);
    ASSERT_NE(box, nullptr);
    if (box->isChecked() != boxes[i]) Click(names[i]);
  }
  Click("cmdNext");
  ASSERT_EQ(form().bytStep, 3);
  Click("cmdConfirm");
}

std::vector<std::string> WizardTest::Listing(const fs::path& folder) {
  std::vector<std::string> names;
  if (!fs::exists(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vt::wizard::testing
