// The real window on the offscreen platform: pages, buttons and focus as
// Next, Previous, the check boxes and Close leave them.
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/ui/dialog_qt.h"
#include "tests/support/shell.h"
#include "tests/wizard/wizard_fixture.h"
#include "wizard/frm_rostavel_layout.h"
#include "wizard/preset.h"

namespace vt::wizard::testing {
namespace {

namespace fs = std::filesystem;

struct PageState {
  int step;
  bool previous, next, confirm;
  const char* focus;
};

class WizardWindowTest : public WizardTest {
 protected:
  void ExpectPage(const PageState& expected) {
    SCOPED_TRACE("page " + std::to_string(expected.step));
    EXPECT_EQ(form().bytStep, expected.step);
    for (int page = 0; page < 4; ++page) {
      auto* container = view().findChild<QWidget*>(QString("picContainer(%1)").arg(page));
      ASSERT_NE(container, nullptr);
      EXPECT_EQ(container->isVisible(), page == expected.step) << page;
    }
    EXPECT_TRUE(Button("cmdClose")->isEnabled());
    EXPECT_EQ(Button("cmdPrevious")->isEnabled(), expected.previous);
    EXPECT_EQ(Button("cmdNext")->isEnabled(), expected.next);
    EXPECT_EQ(Button("cmdConfirm")->isEnabled(), expected.confirm);
    EXPECT_EQ(Focused(), expected.focus);
  }
  QPushButton* Button(const char* name) { return view().findChild<QPushButton*>(name); }
  QString LabelText(const QString& name) { return view().findChild<QLabel*>(name)->text(); }
};

TEST_F(WizardWindowTest, PagesButtonsAndFocusFromStartToFinish) {
  OpenWindow();
  EXPECT_EQ(view().windowTitle(), QString(" Rostavel"));
  ExpectPage({0, false, true, false, "cmdNext"});
  Click("cmdPrevious");  // disabled: nothing happens
  ExpectPage({0, false, true, false, "cmdNext"});
  form().cmdPrevious_Click();  // even when called, page 0 stays
  EXPECT_EQ(form().bytStep, 0);

  Click("cmdNext");
  ExpectPage({1, true, false, false, "cmdPrevious"});
  dialog_.answers.emplace_back(pictures().string());
  Click("cmdBrowseForFolder");
  EXPECT_TRUE(Button("cmdNext")->isEnabled());
  Click("cmdNext");
  ExpectPage({2, true, true, false, "cmdNext"});
  Click("cmdPrevious");
  // Back on page 1 with a folder already chosen: Next stays enabled.
  ExpectPage({1, true, true, false, "cmdNext"});
  Click("cmdNext");
  Click("cmdNext");
  ExpectPage({3, true, false, true, "cmdConfirm"});
  form().cmdNext_Click();  // Next on the last page does nothing
  ExpectPage({3, true, false, true, "cmdConfirm"});
  Click("cmdPrevious");
  ExpectPage({2, true, true, false, "cmdNext"});
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_FALSE(fs::exists(log_path()));
}

TEST_F(WizardWindowTest, PageTitlesDescriptionsAndControls) {
  OpenWindow();
  const std::vector<std::pair<const char*, const char*>> pages{
      {"Start",
       "This procedure will create all the necessary files to use Veltrano in your "
       "application."},
      {"Select pictures folder", "Browse for the PICTURES folder of your iFix application."},
      {"Select interpreter files",
       "Select the interpreter files you wish to create or overwrite (for a new application you "
       "must check all the files)."},
      {"Finish",
       "Confirm previous selections to create the files you need in your iFix application."}};
  for (std::size_t page = 0; page < pages.size(); ++page) {
    EXPECT_EQ(LabelText(QString("lblTitle(%1)").arg(page)), QString(pages[page].first));
    EXPECT_EQ(LabelText(QString("lblStepDescription(%1)").arg(page)), QString(pages[page].second));
  }
  const std::vector<std::pair<const char*, const char*>> buttons{{"cmdPrevious", "< Previous"},
                                                                 {"cmdNext", "Next >"},
                                                                 {"cmdConfirm", "Confirm"},
                                                                 {"cmdClose", "Close"},
                                                                 {"cmdBrowseForFolder", "..."}};
  for (const auto& [name, caption] : buttons) EXPECT_EQ(Button(name)->text(), QString(caption));
  const std::vector<std::pair<const char*, const char*>> boxes{
      {"chkDictionary", "Dictionary file"},
      {"chkAlarmsDictionary", "Alarms dictionary file"},
      {"chkConfiguration", "Configuration file"},
      {"chkVbaModule", "VBA module file"}};
  for (const auto& [name, caption] : boxes) {
    EXPECT_EQ(view().findChild<QCheckBox*>(name)->text(), QString(caption));
  }
  for (const char* picture : {"imgStart", "imgFinish"}) {
    EXPECT_NE(view().findChild<QLabel*>(picture), nullptr) << picture;
  }
}

TEST_F(WizardWindowTest, CheckBoxesDecideNextOnPage2) {
  OpenWindow();
  ToFilesPage(pictures().string());
  for (const char* name :
       {"chkDictionary", "chkAlarmsDictionary", "chkConfiguration", "chkVbaModule"}) {
    Click(name);  // all four start checked
  }
  form().Form_Activate();
  EXPECT_FALSE(Button("cmdNext")->isEnabled());
  EXPECT_EQ(Focused(), "cmdPrevious");

  Click("chkAlarmsDictionary");  // does not count
  EXPECT_FALSE(Button("cmdNext")->isEnabled());
  Click("chkConfiguration");
  EXPECT_TRUE(Button("cmdNext")->isEnabled());
  Click("chkConfiguration");
  EXPECT_FALSE(Button("cmdNext")->isEnabled());
  for (const char* name : {"chkDictionary", "chkVbaModule"}) {
    Click(name);
    EXPECT_TRUE(Button("cmdNext")->isEnabled()) << name;
    Click(name);
  }
  // A grey box has a value other than 0: it counts for Next.
  form().chkVbaModule.Value = 2;
  form().chkVbaModule_Click();
  EXPECT_TRUE(form().cmdNext.Enabled);
}

TEST_F(WizardWindowTest, CloseFromEveryPageAbortsAndCreatesNothing) {
  for (int page = 0; page < 4; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    OpenWindow();
    dialog_.answers.assign(1, pictures().string());
    dialog_.titles.clear();
    if (page >= 1) Click("cmdNext");
    if (page >= 2) {
      Click("cmdBrowseForFolder");
      Click("cmdNext");
    }
    if (page >= 3) Click("cmdNext");
    ASSERT_EQ(form().bytStep, page);

    Click("cmdClose");
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Rostavel has been aborted !");
    EXPECT_EQ(shown[0].title, " Veltrano - Warning");
    EXPECT_EQ(shown[0].style, 48);
    EXPECT_TRUE(form().Unloaded());
    EXPECT_FALSE(form().Completed());
    EXPECT_FALSE(view().isVisible());
    EXPECT_TRUE(Listing(pictures()).empty());
    EXPECT_EQ(Listing(program()), (std::vector<std::string>{"Kelmora"}));
  }
}

TEST_F(WizardWindowTest, CommandLinePresetsTheFolderAndTheBoxes) {
  view_ = std::make_unique<FrmRostavelView>();
  view_->Open([this](FrmRostavel& model) {
    PresetForm(model, pictures().string(), FileChoice{false, true, true, false});
  });
  Click("cmdNext");
  ExpectPage({1, true, true, false, "cmdNext"});
  EXPECT_EQ(LabelText("lblPicturesFolder").toStdString(), pictures().string());
  Click("cmdNext");
  std::vector<bool> checked;
  for (const char* name :
       {"chkDictionary", "chkAlarmsDictionary", "chkConfiguration", "chkVbaModule"}) {
    checked.push_back(view().findChild<QCheckBox*>(name)->isChecked());
  }
  EXPECT_EQ(checked, (std::vector<bool>{false, true, true, false}));
  ExpectPage({2, true, true, false, "cmdNext"});
}

TEST_F(WizardWindowTest, TitleBarOffersNoWayToClose) {
  OpenWindow();
  EXPECT_FALSE(view().windowFlags().testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(view().windowFlags().testFlag(Qt::WindowTitleHint));
  EXPECT_FALSE(view().close());  // what Alt+F4 or the window manager asks
  EXPECT_TRUE(view().isVisible());
  EXPECT_FALSE(form().Unloaded());
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(WizardWindowTest, FailureInAnEventProcedureIsReportedUnderTheForm) {
  class BrokenWindow : public FormWindow {
   public:
    void RemoveCloseFromTitleBar() override { throw std::runtime_error("No system menu"); }
    void Hide() override {}
    void Unload() override {}
    void SetFocus(std::string_view) override { throw std::runtime_error("Focus lost"); }
    WindowHandle Handle() override { return nullptr; }
  } window;
  FrmRostavel model(window);
  model.Form_Load();
  model.Form_Activate();  // SetNavigation reports its own failure
  EXPECT_EQ(model.FailuresReported(), 2);
  const auto lines = ReadLines(log_path());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find(";frmRostavel;Form_Load;No system menu"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find(";frmRostavel;SetNavigation;Focus lost"), std::string::npos) << lines[1];
  const auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].title, " WARNING");
  EXPECT_EQ(shown[0].style, 16);
  EXPECT_EQ(shown[0].text.rfind(" Rostavel - ", 0), 0u);
  EXPECT_NE(shown[0].text.find("\r\nModule: frmRostavel\r\nProcedure: Form_Load\r\n"
                               "Error description: No system menu"),
            std::string::npos);
  EXPECT_EQ(model.bytStep, 0);
}

// Every control of the layout table, on every page that has its own copy,
// where the table puts it (in the window's pixels).
TEST_F(WizardWindowTest, ControlsLieWhereTheLayoutPutsThem) {
  OpenWindow();
  const ui::layout::Window& table = FrmRostavelLayout();
  EXPECT_EQ(view().size(),
            QSize(ui::layout::TwipsToPixels(table.width), ui::layout::TwipsToPixels(table.height)));
  for (const ui::layout::Control& control : table.controls) {
    SCOPED_TRACE(control.name);
    std::vector<QWidget*> widgets;
    if (auto* single = view().findChild<QWidget*>(control.name)) widgets.push_back(single);
    for (int page = 0; page < 4; ++page) {
      auto* copy = view().findChild<QWidget*>(QString("%1(%2)").arg(control.name).arg(page));
      if (copy != nullptr) widgets.push_back(copy);
    }
    ASSERT_FALSE(widgets.empty());
    for (const QWidget* widget : widgets) {
      const QRect placed(widget->mapTo(&view(), QPoint(0, 0)), widget->size());
      EXPECT_EQ(placed, ui::qt::Twips(control)) << widget->objectName().toStdString();
    }
  }
}

// Kept in the build tree to look at: tests/wizard/screenshots/page-N.png.
TEST_F(WizardWindowTest, ScreenshotOfEachPage) {
  const fs::path shots = vt::testing::BinaryDir() / "tests" / "wizard" / "screenshots";
  fs::create_directories(shots);
  OpenWindow();
  dialog_.answers.emplace_back(pictures().string());
  for (int page = 0; page < 4; ++page) {
    if (page > 0) Click("cmdNext");
    if (page == 1) Click("cmdBrowseForFolder");  // the label shows the chosen folder
    ASSERT_EQ(form().bytStep, page);
    const QImage image = view().grab().toImage();
    EXPECT_FALSE(image.isNull());
    const fs::path file = shots / ("page-" + std::to_string(page) + ".png");
    EXPECT_TRUE(image.save(QString::fromStdString(file.string()))) << file;
  }
}

}  // namespace
}  // namespace vt::wizard::testing
