// The coverage model, its two files and the "Where used" rows, without a run.
#include "library/maintenance/coverage.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "library/maintenance/coverage_report.h"
#include "library/maintenance/where_used.h"

namespace vt::maintenance {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// Language_1 is the development language; the dictionary: text -> cells of
// Language_2 and Language_3.
const std::map<std::string, std::vector<std::string>> kCoverageDictionary = {
    {"Start", {"Starten", "Avvia"}},
    {"Stop", {"Halt", ""}},
    {"Flow", {"Durchfluss", "Portata"}},
    {"Größe", {"Size", "Dimensione"}},  // 5 characters, 7 bytes
};

DictionaryEntry LookUpIn(std::string_view text, std::int16_t) {
  const auto found = kCoverageDictionary.find(std::string(text));
  if (found == kCoverageDictionary.end()) return {text, {}};
  return {text, {found->second.begin(), found->second.end()}};
}

struct Walked {
  std::string name;
  std::vector<std::string> texts;
  std::int16_t language = 1;
  std::vector<std::string> deep = {};  // inside groups too deep to translate
};

PlaceLog Walk(const std::vector<Walked>& pictures) {
  PlaceLog log;
  for (const Walked& picture : pictures) {
    log.Walking(picture.name, picture.language);
    int object = 0;
    for (const std::string& text : picture.texts) {
      log.Add("obj" + std::to_string(++object), "Caption", text);
    }
    for (const std::string& text : picture.deep) {
      log.AddUnreached("deep" + std::to_string(++object), "Caption", text);
    }
    log.EndPicture(picture.name, picture.name.starts_with("Broken"));
  }
  return log;
}

TEST(CoverageTest, CountsEachDistinctTextOncePerPictureAndLanguage) {
  struct Case {
    double ratio;
    std::size_t language;
    Coverage::Counts main, totals;
  };
  // Main shows Start twice; Pump a text the dictionary lacks. "Durchfluss" is
  // 2.5 times "Flow", "Portata" 1.75 times, "Dimensione" 2 times "Größe" (in
  // characters: 1.43 times in bytes).
  const Case cases[] = {
      {1.5, 0, {4, 4, 1}, {5, 4, 1}},  {1.5, 1, {4, 3, 2}, {5, 3, 2}},
      {2.5, 1, {4, 3, 0}, {5, 3, 0}},  {2.0, 1, {4, 3, 0}, {5, 3, 0}},
      {1.99, 1, {4, 3, 1}, {5, 3, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.ratio << " " << c.language);
    Coverage coverage = BuildCoverage(Walk({{"Main", {"Start", "Stop", "Start", "Flow", "Größe"}},
                                            {"Pump", {"Start", "New text"}},
                                            {"Broken", {"Lost"}}}),
                                      {2, 3}, c.ratio, LookUpIn);
    ASSERT_EQ(coverage.pictures.size(), 2u);
    EXPECT_THAT(coverage.failed, ElementsAre("Broken"));
    const Coverage::Counts main = coverage.CountsOf(coverage.pictures[0], c.language);
    const Coverage::Counts totals = coverage.Totals(c.language);
    EXPECT_EQ(std::tie(main.texts, main.translated, main.too_long),
              std::tie(c.main.texts, c.main.translated, c.main.too_long));
    EXPECT_EQ(std::tie(totals.texts, totals.translated, totals.too_long),
              std::tie(c.totals.texts, c.totals.translated, c.totals.too_long));
  }
  const Coverage coverage =
      BuildCoverage(Walk({{"Main", {"Start", "Stop", "Start"}}}), {2, 3}, 1.5, LookUpIn);
  EXPECT_THAT(coverage.PlacesByText(),
              ElementsAre(ElementsAre("Main/obj1.Caption", "Main/obj3.Caption"),
                          ElementsAre("Main/obj2.Caption")));
}

TEST(CoverageTest, ReportsTheHeadersLanguageColumnsButTheDevelopmentOne) {
  EXPECT_THAT(ReportedLanguages({"Language_1", "language_3", "Notes", "Language_2", "Language_",
                                 "Language_05", "Language_x", "Language_3", "Language_99999"},
                                1),
              ElementsAre(3, 2));
}

TEST(CoverageReportTest, TextsShowAsWrittenInThePageAndTheCsv) {
  const std::map<std::string, std::vector<std::string>> dictionary = {
      {"Tom & \"Jerry\" <b>it's</b>", {"", "a,b"}},
      {"Line\r\nbreak", {"x\"y, longer than the line", ""}},
  };
  Coverage coverage =
      BuildCoverage(Walk({{"Pic<1>", {"Tom & \"Jerry\" <b>it's</b>", "Line\r\nbreak"}}}), {2, 3},
                    1.5, [&](std::string_view text, std::int16_t) {
                      const std::vector<std::string>& cells = dictionary.at(std::string(text));
                      return DictionaryEntry{text, {cells.begin(), cells.end()}};
                    });
  coverage.verified = 2;
  coverage.dictionary = "/p/Veltrano/Veltrano.xls";
  const std::string page = CoverageHtml(coverage);
  EXPECT_THAT(page, HasSubstr("Tom &amp; &quot;Jerry&quot; &lt;b&gt;it&#39;s&lt;/b&gt;"));
  EXPECT_THAT(page, HasSubstr("Pic&lt;1&gt;"));
  EXPECT_THAT(page, HasSubstr("x&quot;y, longer than the line"));
  EXPECT_THAT(page, Not(HasSubstr("<b>")));
  EXPECT_THAT(page, Not(HasSubstr("<script")));
  EXPECT_THAT(page, HasSubstr("@media print"));

  const std::string csv = CoverageCsv(coverage);
  EXPECT_EQ(csv,
            "\xEF\xBB\xBFPicture,Text,Places,Language_2,Language_3\r\n"
            "Pic<1>,\"Tom & \"\"Jerry\"\" <b>it's</b>\",obj1.Caption,missing,translated\r\n"
            "Pic<1>,\"Line\r\nbreak\",obj2.Caption,too long,missing\r\n");
}

TEST(CoverageReportTest, EscapesMarkupControlsAndDamagedBytes) {
  struct Case {
    std::string text, html;
  };
  const Case cases[] = {
      {"a<b>&c", "a&lt;b&gt;&amp;c"},
      {"'\"", "&#39;&quot;"},
      {"tab\tkept", "tab\tkept"},
      {std::string("nul\0bell\x07", 9),
       "nul\xEF\xBF\xBD"
       "bell\xEF\xBF\xBD"},
      {"bad \xC3( byte", "bad \xEF\xBF\xBD( byte"},
      {"Größe 温度 😀", "Größe 温度 😀"},
  };
  for (const Case& c : cases) EXPECT_EQ(EscapeHtml(c.text), c.html) << c.text;
}

TEST(WhereUsedTest, PlacesStayWithinACellAndSayHowManyAreLeftOut) {
  struct Case {
    std::size_t count;
    std::size_t units;   // of each place
    std::string tail;    // what the cell ends with
    std::size_t length;  // bytes
  };
  // 3276 places of 8 units joined take 3276 * 10 - 2 = 32,758 units; "😀" counts two.
  const Case cases[] = {
      {3276, 8, "x0003275", 32758},
      {3277, 8, "x0003274; \xE2\x80\xA6 and 2 more", 32764},
      {3278, 8, "x0003274; \xE2\x80\xA6 and 3 more", 32764},
      {1, 32767, "", 32767},
      {2, 32767, "\xE2\x80\xA6 and 2 more", 14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    std::vector<std::string> places;
    for (std::size_t i = 0; i < c.count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "x%07zu", i);
      places.push_back(c.units == 8 ? std::string(name) : std::string(c.units, 'p'));
    }
    const std::string joined = JoinPlaces(places);
    EXPECT_TRUE(joined.ends_with(c.tail));
    EXPECT_EQ(joined.size(), c.length);
    EXPECT_LE(joined.size(), 32767u + 2);  // "…" is three bytes, one unit
    const std::vector<std::string> back = SplitPlaces(joined);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), places.begin()));
  }
  // Characters beyond the basic plane take two units of a cell: 8188 places
  // of two units, their separators and "; … and 2735 more" make 32,767.
  const std::vector<std::string> wide(10923, "\xF0\x9F\x98\x80");
  const std::string joined = JoinPlaces(wide);
  EXPECT_EQ(SplitPlaces(joined).size(), 8188u);
  EXPECT_TRUE(joined.ends_with("and 2735 more"));
}

TEST(WhereUsedTest, ARunReplacesThePlacesOfItsPicturesAndKeepsTheOthers) {
  // Main was shown in Language_2 at some run before: those places are Language_1's now.
  const std::vector<WhereUsedRow> previous = {
      {"Avvia", "Language_3", "Other/cmd3.Caption", 1, "", "2026-01-01"},
      {"Gone", "Language_1", "Main/obj9.Caption; Other/x.Caption", 2, "", "2026-01-01"},
      {"Kept", "Language_1", "Other/txt.Caption", 1, "Older", "2026-01-01"},
      {"Old caption", "Language_1", "Main/obj2.Caption", 1, "", "2026-01-01"},
      {"Start", "Language_1", "Main/obj1.Caption; Other/cmd.Caption", 2, "", "2026-01-01"},
      {"Starten", "Language_2", "Main/obj1.Caption; Other/cmd2.Caption", 2, "", "2026-01-01"},
  };
  Coverage coverage =
      BuildCoverage(Walk({{"Main", {"Start", "New caption"}}}), {2, 3}, 1.5, LookUpIn);
  coverage.verified = 3;
  coverage.date = "2026-12-08";
  EXPECT_THAT(
      MergeWhereUsed(previous, coverage),
      ElementsAre(
          WhereUsedRow{"Avvia", "Language_3", "Other/cmd3.Caption", 1, "", "2026-01-01"},
          WhereUsedRow{"Gone", "Language_1", "Other/x.Caption", 1, "", "2026-01-01"},
          WhereUsedRow{"Kept", "Language_1", "Other/txt.Caption", 1, "Older", "2026-01-01"},
          WhereUsedRow{"New caption", "Language_1", "Main/obj2.Caption", 1, "Old caption",
                       "2026-12-08"},
          WhereUsedRow{"Start", "Language_1", "Main/obj1.Caption; Other/cmd.Caption", 2, "",
                       "2026-12-08"},
          WhereUsedRow{"Starten", "Language_2", "Other/cmd2.Caption", 1, "", "2026-01-01"}));
  // A first run, and a run that walked nothing.
  EXPECT_THAT(
      MergeWhereUsed({}, coverage),
      ElementsAre(
          WhereUsedRow{"New caption", "Language_1", "Main/obj2.Caption", 1, "", "2026-12-08"},
          WhereUsedRow{"Start", "Language_1", "Main/obj1.Caption", 1, "", "2026-12-08"}));
  coverage.pictures.clear();
  coverage.texts.clear();
  coverage.shown.clear();
  EXPECT_EQ(MergeWhereUsed(previous, coverage), previous);
}

// A picture in another language is counted by its originals, and its rows
// hold the texts it shows, in the column they stand in: two cells of that
// column may stand for one original.
TEST(WhereUsedTest, APictureInAnotherLanguageHasRowsOfThatLanguage) {
  // Language_1 to Language_3; the first row of a text is the one looked up.
  const std::vector<std::vector<std::string>> rows = {
      {"Start", "Starten", "Avvia"}, {"Start", "Beginnen", ""}, {"Stop", "Halt", ""}};
  const LookUp look_up = [&](std::string_view text, std::int16_t language) {
    for (const std::vector<std::string>& row : rows) {
      if (row[static_cast<std::size_t>(language - 1)] == text)
        return DictionaryEntry{row[0], {row[1], row[2]}};
    }
    return DictionaryEntry{text, {}};
  };
  Coverage coverage = BuildCoverage(
      Walk({{"German", {"Starten", "Halt", "Beginnen", "Starten"}, 2}, {"Main", {"Start"}}}),
      {2, 3}, 1.5, look_up);
  coverage.date = "2026-12-08";
  ASSERT_EQ(coverage.pictures.size(), 2u);
  EXPECT_EQ(coverage.texts.size(), 2u);
  EXPECT_EQ(coverage.CountsOf(coverage.pictures[0], 1).texts, 2u);
  EXPECT_EQ(coverage.Totals(0).translated, 2u);
  EXPECT_EQ(coverage.Totals(1).texts, 2u);
  EXPECT_EQ(coverage.Totals(1).translated, 1u);
  EXPECT_EQ(CoverageCsv(coverage),
            "\xEF\xBB\xBFPicture,Text,Places,Language_2,Language_3\r\n"
            "German,Start,obj1.Caption; obj4.Caption; obj3.Caption,translated,translated\r\n"
            "German,Stop,obj2.Caption,translated,missing\r\n"
            "Main,Start,obj1.Caption,translated,translated\r\n");
  EXPECT_THAT(
      MergeWhereUsed({}, coverage),
      ElementsAre(
          WhereUsedRow{"Beginnen", "Language_2", "German/obj3.Caption", 1, "", "2026-12-08"},
          WhereUsedRow{"Halt", "Language_2", "German/obj2.Caption", 1, "", "2026-12-08"},
          WhereUsedRow{"Start", "Language_1", "Main/obj1.Caption", 1, "", "2026-12-08"},
          WhereUsedRow{"Starten", "Language_2", "German/obj1.Caption; German/obj4.Caption", 1, "",
                       "2026-12-08"}));
}

TEST(CoverageReportTest, PercentagesRoundToTheNearestTenthButNeverToAllOrNothing) {
  struct Case {
    std::size_t translated, texts;
    std::string shown;
  };
  const Case cases[] = {
      {13, 14, "92.9"}, {1, 16, "6.3"},       {2, 3, "66.7"},   {1, 3, "33.3"},
      {0, 5, "0.0"},    {5, 5, "100.0"},      {1, 2001, "0.1"}, {2000, 2001, "99.9"},
      {1, 1999, "0.1"}, {1998, 1999, "99.9"}, {3, 2000, "0.2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.translated << " of " << c.texts);
    std::vector<std::string> texts;
    std::map<std::string, std::vector<std::string>> dictionary;
    for (std::size_t i = 0; i < c.texts; ++i) {
      texts.push_back("t" + std::to_string(i));
      dictionary[texts.back()] = {i < c.translated ? "x" : ""};
    }
    const Coverage coverage =
        BuildCoverage(Walk({{"Main", texts}}), {2}, 1e9, [&](std::string_view text, std::int16_t) {
          const std::vector<std::string>& cells = dictionary.at(std::string(text));
          return DictionaryEntry{text, {cells.begin(), cells.end()}};
        });
    const std::string page = CoverageHtml(coverage);
    EXPECT_THAT(page, HasSubstr("<span class=\"pct\">" + c.shown + "\xC2\xA0%</span>"));
    EXPECT_THAT(page, HasSubstr("width:" + c.shown + "%"));
  }
}

TEST(CoverageReportTest, SaysWhatItCountsAndWhatTranslationDoesNotReach) {
  Coverage coverage = BuildCoverage(Walk({{"Deep", {"Start"}, 1, {"Pressure", "Pressure"}},
                                          {"Main", {"Start", "Stop"}, 1, {"Pressure"}},
                                          {"Flat", {"Flow"}}}),
                                    {2, 3}, 1.5, LookUpIn);
  coverage.verified = 3;
  coverage.development = 1;
  coverage.dictionary_texts = 29;
  const std::string page = CoverageHtml(coverage);
  EXPECT_THAT(page, HasSubstr("Counted: the 3 distinct texts of the 3 verified pictures"));
  EXPECT_THAT(page, HasSubstr("The dictionary holds 29 texts (rows with a Language_1 text)"));
  EXPECT_THAT(page, HasSubstr("Not reached by translation (1)"));
  EXPECT_THAT(page, HasSubstr("<td class=\"text\">Pressure</td><td class=\"places\">"
                              "Deep/deep2.Caption; Deep/deep3.Caption; Main/deep3.Caption</td>"));
  const std::string csv = CoverageCsv(coverage);
  EXPECT_THAT(csv, HasSubstr("\r\nDeep,Pressure,deep2.Caption; deep3.Caption,not reached,"
                             "not reached\r\nMain,Pressure,deep3.Caption,not reached,not reached"
                             "\r\n"));
  EXPECT_THAT(CoverageHtml(BuildCoverage(Walk({{"Flat", {"Flow"}}}), {2}, 1.5, LookUpIn)),
              HasSubstr("Not reached by translation (0)</h2>\n<p class=\"meta\">Texts of objects "
                        "inside ten or more nested groups: translation does not go that deep, so "
                        "they show as drawn in every language.</p>\n<p class=\"none\">None."));
}

}  // namespace
}  // namespace vt::maintenance
