// The Windows build maps letter case through tables made from ICU's data;
// here, on Linux, they must agree with ICU for every code point, or the
// tables are stale (make_case_tables writes them anew).

#include <gtest/gtest.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <string>

#include "platform/unicode/case_map.h"

namespace vt::unicode {
namespace {

TEST(CaseTables, MatchIcu) {
  std::u32string ours;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    const auto icu_c = static_cast<UChar32>(c);
    ASSERT_EQ(table::Upper(c), static_cast<char32_t>(u_toupper(icu_c)))
        << std::hex << static_cast<unsigned>(c);
    ASSERT_EQ(table::Lower(c), static_cast<char32_t>(u_tolower(icu_c)))
        << std::hex << static_cast<unsigned>(c);
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    icu::UnicodeString folded(icu_c);
    folded.foldCase();
    std::u32string theirs;
    for (std::int32_t i = 0; i < folded.length(); i = folded.moveIndex32(i, 1)) {
      theirs.push_back(static_cast<char32_t>(folded.char32At(i)));
    }
    ours.clear();
    table::AppendFold(c, ours);
    ASSERT_EQ(ours, theirs) << std::hex << static_cast<unsigned>(c);
  }
}

TEST(CaseTables, TextsMapAsIcuMapsThemDamagedOnesToo) {
  const std::string texts[] = {"Straße ÜBER İstanbul ǅ ﬃ",
                               "ΣΊΣΥΦΟΣ ς",
                               "plain ASCII 123",
                               "a\xFF"
                               "b\xC3",
                               "\xE2\x82"
                               "x\xED\xA0\x80y",
                               "\xF0\x9F\x98\x80 \xF4\x90\x80\x80",
                               "Ａｂｃ 𐐀𐐨"};
  for (const std::string& text : texts) {
    EXPECT_EQ(table::SimpleUpper(text), SimpleUpper(text)) << text;
    EXPECT_EQ(table::SimpleLower(text), SimpleLower(text)) << text;
    EXPECT_EQ(table::FullFold(text), FullFold(text)) << text;
  }
}

}  // namespace
}  // namespace vt::unicode
