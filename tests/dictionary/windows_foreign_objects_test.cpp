// A system component as the host's object, through COM: scrrun's
// Scripting.Dictionary answers its default interface IDictionary from
// GetTypeInfo and its class through IProvideClassInfo; the library names it
// by its class, as the host's TypeName does.
#include "tests/dictionary/dictionary_fixture.h"
#include "tests/support/com_server_object.h"

namespace vt::dictionary::testing {
namespace {

class ForeignObjectsTest : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    WriteDictionary({{"Start", "Starten", "Avvio"}});
    WriteAlarms({});
  }
};

TEST_F(ForeignObjectsTest, AMissingMemberIsReportedUnderTheClassName) {
  const automation::ObjectRef dictionary =
      vt::testing::CreateComServerObject(L"Scripting.Dictionary");
  ASSERT_NE(dictionary, nullptr);

  auto object = CreateReady();
  std::string text = "Start";
  std::int16_t language = 0;
  bool warn = false;
  // Not a form, so its Comments would be the picture's language marker.
  EXPECT_EQ(object->TranslateString(text, dictionary, language, warn), "");
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(";VeltranoModule;TranslateString;"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("Object doesn't support this property or method: Dictionary.Comments"),
            std::string::npos)
      << lines[0];
}

}  // namespace
}  // namespace vt::dictionary::testing
