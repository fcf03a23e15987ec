#include <gtest/gtest.h>

#include "platform/base/utf8.h"
#include "platform/system/wildcard.h"

namespace vt::system {
namespace {
using base::FindInvalidUtf8;
using base::Utf8Length;
using base::Utf8Prefix;

TEST(Wildcard, StarsQuestionMarksAndCase) {
  EXPECT_TRUE(MatchesWildcard("Main.grf", "*.grf"));
  EXPECT_TRUE(MatchesWildcard("MAIN.GRF", "*.grf"));
  EXPECT_TRUE(MatchesWildcard(".grf", "*.grf"));
  EXPECT_FALSE(MatchesWildcard("Main.grfx", "*.grf"));
  EXPECT_FALSE(MatchesWildcard("Main.grf.bak", "*.grf"));
  EXPECT_TRUE(MatchesWildcard("EULA.txt", "EULA*.txt"));
  EXPECT_TRUE(MatchesWildcard("eula-en.txt.txt", "EULA*.txt"));
  EXPECT_FALSE(MatchesWildcard("XEULA.txt", "EULA*.txt"));
  EXPECT_TRUE(MatchesWildcard("a1c", "a?c"));
  EXPECT_FALSE(MatchesWildcard("ac", "a?c"));
  EXPECT_TRUE(MatchesWildcard("aéc", "a?c"));  // one character, two bytes
  EXPECT_TRUE(MatchesWildcard("abcbcd", "a*bcd"));
  EXPECT_TRUE(MatchesWildcard("noext", "*.*"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
  EXPECT_FALSE(MatchesWildcard("", "?"));
  EXPECT_FALSE(MatchesWildcard("É.grf", "é.grf"));  // only ASCII letters fold
}

TEST(Utf8, PrefixNeverSplitsASequence) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a é € 😀
  EXPECT_EQ(Utf8Prefix(text, 1), "a");
  EXPECT_EQ(Utf8Prefix(text, 2), "a");
  EXPECT_EQ(Utf8Prefix(text, 3), "a\xC3\xA9");
  EXPECT_EQ(Utf8Prefix(text, 5), "a\xC3\xA9");
  EXPECT_EQ(Utf8Prefix(text, 6), "a\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(Utf8Prefix(text, 9), "a\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(Utf8Prefix(text, 10), text);
  EXPECT_EQ(Utf8Prefix(text, 0), "");
  EXPECT_EQ(Utf8Length(text), 4U);
}

TEST(Utf8, FindsMalformedSequences) {
  EXPECT_FALSE(FindInvalidUtf8("plain é € 😀"));
  EXPECT_EQ(FindInvalidUtf8("ab\xFF"), 2U);
  EXPECT_EQ(FindInvalidUtf8("a\xC3"), 1U);             // cut short
  EXPECT_EQ(FindInvalidUtf8("\xC0\xAF"), 0U);          // overlong
  EXPECT_EQ(FindInvalidUtf8("x\xED\xA0\x80"), 1U);     // surrogate
  EXPECT_EQ(FindInvalidUtf8("\xF4\x90\x80\x80"), 0U);  // beyond U+10FFFF
}

}  // namespace
}  // namespace vt::system
