#include "platform/automation/text.h"

#include <gtest/gtest.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <string>

#include "platform/base/utf8.h"

namespace vt::automation::text {
namespace {

TEST(TextTest, TrimRemovesSpacesOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("\tx\t"), "\tx\t");
  EXPECT_EQ(Trim("\xC2\xA0x"), "\xC2\xA0x");  // no-break space is not a blank
  EXPECT_EQ(LTrim("  x  "), "x  ");
  EXPECT_EQ(RTrim("  x  "), "  x");
}

TEST(TextTest, CaseMappingIsUnicode) {
  EXPECT_EQ(UCase("fix.exe"), "FIX.EXE");
  EXPECT_EQ(UCase("über straße"), "ÜBER STRAßE");  // one to one: ß stays
  EXPECT_EQ(UCase("привет"), "ПРИВЕТ");
  EXPECT_EQ(LCase("ÀÉÎ"), "àéî");
  EXPECT_EQ(UCase("a\xFF"
                  "b"),
            "A\xFF"
            "B");  // damaged byte kept
}

TEST(TextTest, CountsCharactersNotBytes) {
  EXPECT_EQ(Len(""), 0u);
  EXPECT_EQ(Len("abc"), 3u);
  EXPECT_EQ(Len("é€😀"), 3u);
  EXPECT_EQ(Len("a\xFF"
                "b"),
            3u);
  EXPECT_EQ(Len("\xE2\x82"), 1u);  // truncated sequence: one character
}

TEST(TextTest, LeftAndRightNeverSplitASequence) {
  EXPECT_EQ(Left("é€😀x", 2), "é€");
  EXPECT_EQ(Left("é€😀x", 3), "é€😀");
  EXPECT_EQ(Left("ab", 0), "");
  EXPECT_EQ(Left("ab", 10), "ab");
  EXPECT_EQ(Right("x😀é", 2), "😀é");
  EXPECT_EQ(Right("Main.grf", 4), ".grf");
  EXPECT_EQ(Right("ab", 5), "ab");
  EXPECT_EQ(Right("ab", 0), "");
}

TEST(TextTest, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8("plain é 😀"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
}

// Our step through damaged text covers what ICU's does (its maximal
// subparts), so counts and cuts of damaged text stay as ICU made them.
TEST(TextTest, Utf8StepsMatchIcu) {
  const unsigned char tails[] = {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0};
  const unsigned char lasts[] = {0x41, 0x80, 0xBF};
  std::string text(4, '\0');
  for (unsigned lead = 0; lead < 256; ++lead) {
    for (unsigned second = 0; second < 256; ++second) {
      for (unsigned char third : tails) {
        for (unsigned char fourth : lasts) {
          text = {static_cast<char>(lead), static_cast<char>(second), static_cast<char>(third),
                  static_cast<char>(fourth)};
          std::int32_t pos = 0;
          UChar32 c = 0;
          U8_NEXT(reinterpret_cast<const std::uint8_t*>(text.data()), pos, 4, c);
          const base::Utf8Step step = base::Utf8Next(text, 0);
          ASSERT_EQ(step.next, static_cast<std::size_t>(pos)) << lead << " " << second;
          ASSERT_EQ(step.ok, c >= 0) << lead << " " << second;
          if (step.ok) {
            ASSERT_EQ(step.value, static_cast<char32_t>(c));
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vt::automation::text
