#pragma once

// A Ready interpreter object made in-process over real workbooks in a
// temporary pictures folder: the host's process list and workspace are
// stand-ins, message boxes are recorded.

#include <string>

#include "platform/automation/dispatch.h"
#include "tests/support/library_test.h"
#include "tests/support/shell.h"

namespace vt::dictionary::testing {

using ShownMessage = vt::testing::Message;
using vt::testing::Empty;
using vt::testing::Number;
using vt::testing::ReadFile;
using vt::testing::ReadWithXlrd;
using vt::testing::Rows;
using vt::testing::RunShell;
using vt::testing::ShellQuote;
using vt::testing::Text;
using vt::testing::ThreeLanguages;
using vt::testing::WriteFile;
using vt::testing::WriteWorkbook;
using vt::testing::XlrdCell;
using vt::testing::XlrdRow;

// An iFix picture: its language marker is Comments.
class TestPicture : public automation::DispatchObject {
 public:
  explicit TestPicture(automation::Variant comments);
  std::string TypeName() const override { return "Picture"; }

  automation::Variant comments;
};

// A UserForm: its language marker is Tag; it answers the UserForm interface.
class TestForm : public automation::DispatchObject {
 public:
  explicit TestForm(automation::Variant tag);
  std::string TypeName() const override { return "UserForm"; }
  bool QueryInterface(const automation::Guid& iid) const override;

  automation::Variant tag;
};

// The ready configuration (development and starting language 1, warnings
// on) already written; dictionaries are the test's to write.
class DictionaryTest : public vt::testing::FakeHostLibraryTest<> {
 protected:
  DictionaryTest() : FakeHostLibraryTest("vt-dictionary") {}

  void SetUp() override;

  // The ready configuration with one [PARAMETERS] key set to `value`.
  void WriteIni(const std::string& key, const std::string& value) const;
};

}  // namespace vt::dictionary::testing
