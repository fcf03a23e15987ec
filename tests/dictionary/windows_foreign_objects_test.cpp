// A system component as the host's object, through COM: scrrun's
// Scripting.Dictionary answers its default interface IDictionary from
// GetTypeInfo and its class through IProvideClassInfo; the library names it
// by its class, as the host's TypeName does.
#include <objbase.h>

#include "platform/automation/com.h"
#include "tests/dictionary/dictionary_fixture.h"

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
  CLSID clsid;
  ASSERT_EQ(::CLSIDFromProgID(L"Scripting.Dictionary", &clsid), S_OK);
  IDispatch* raw = nullptr;
  ASSERT_EQ(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&raw)),
            S_OK);
  const automation::ObjectRef dictionary = automation::com::WrapDispatch(raw);
  raw->Release();

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
