#include "platform/automation/text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vt::automation::text
