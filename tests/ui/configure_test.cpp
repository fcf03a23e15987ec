#include "platform/ui/configure.h"

#include <gtest/gtest.h>

#include "platform/ui/backend.h"
#include "tests/ui/test_support.h"

namespace vt::ui {
namespace {

Surroundings With(bool app, std::string platform, bool tty) {
  return Surroundings{app, std::move(platform), tty};
}

TEST(UiChooseBackend, BatchAlwaysWins) {
  const Options batch = test::ModeOptions(Mode::Auto, true);
  EXPECT_EQ(ChooseBackend(batch, With(true, "xcb", true)), BackendKind::Batch);
  const Options gui_batch = test::ModeOptions(Mode::Gui, true);
  EXPECT_EQ(ChooseBackend(gui_batch, With(false, "", true)), BackendKind::Batch);
}

TEST(UiChooseBackend, AutoTakesQtOnlyOnARealDisplay) {
  const Options aut;
  EXPECT_EQ(ChooseBackend(aut, With(true, "xcb", true)), BackendKind::Qt);
  EXPECT_EQ(ChooseBackend(aut, With(true, "wayland", false)), BackendKind::Qt);
  EXPECT_EQ(ChooseBackend(aut, With(true, "offscreen", true)), BackendKind::Terminal);
  EXPECT_EQ(ChooseBackend(aut, With(true, "minimal", false)), BackendKind::Batch);
  EXPECT_EQ(ChooseBackend(aut, With(false, "", true)), BackendKind::Terminal);
  EXPECT_EQ(ChooseBackend(aut, With(false, "", false)), BackendKind::Batch);
}

TEST(UiChooseBackend, NoGuiNeverTakesQt) {
  const Options no_gui = test::ModeOptions(Mode::NoGui);
  EXPECT_EQ(ChooseBackend(no_gui, With(true, "xcb", true)), BackendKind::Terminal);
  EXPECT_EQ(ChooseBackend(no_gui, With(true, "xcb", false)), BackendKind::Batch);
}

TEST(UiChooseBackend, GuiTakesQtEvenOffscreenButNeedsTheApplication) {
  const Options gui = test::ModeOptions(Mode::Gui);
  EXPECT_EQ(ChooseBackend(gui, With(true, "offscreen", false)), BackendKind::Qt);
  EXPECT_THROW(ChooseBackend(gui, With(false, "", true)), ConfigError);
}

TEST(UiConfigure, InstallsTheChosenBackend) {
  // The test program has an offscreen QApplication.
  const Surroundings here = CurrentSurroundings();
  EXPECT_TRUE(here.has_widget_application);
  EXPECT_EQ(here.platform_name, "offscreen");

  Configure(test::ModeOptions(Mode::Gui));
  EXPECT_EQ(CurrentBackend().Name(), "qt");
  Configure(test::ModeOptions(Mode::Gui, true));
  EXPECT_EQ(CurrentBackend().Name(), "batch");
  Configure(test::ModeOptions(Mode::Auto));
  EXPECT_NE(CurrentBackend().Name(), "qt");  // nobody could see an offscreen box
}

}  // namespace
}  // namespace vt::ui
