#include "tests/dictionary/dictionary_fixture.h"

#include "library/interpreter/language_marker.h"

namespace vt::dictionary::testing {

using automation::Variant;

TestPicture::TestPicture(Variant marker) : comments(std::move(marker)) {
  AddProperty(
      "Comments", [this](std::span<Variant>) { return comments; },
      [this](std::span<Variant>, const Variant& value) { comments = value; });
}

TestForm::TestForm(Variant marker) : tag(std::move(marker)) {
  AddProperty(
      "Tag", [this](std::span<Variant>) { return tag; },
      [this](std::span<Variant>, const Variant& value) { tag = value; });
}

bool TestForm::QueryInterface(const automation::Guid& iid) const {
  return iid == automation::Guid::FromString(interpreter::kUserFormIid);
}

void DictionaryTest::SetUp() {
  FakeHostLibraryTest::SetUp();
  WriteIniText(vt::testing::ReadyIni());
}

void DictionaryTest::WriteIni(const std::string& key, const std::string& value) const {
  WriteIniText(vt::testing::ReadyIni({{key, value}}));
}

}  // namespace vt::dictionary::testing
