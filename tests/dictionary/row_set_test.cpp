// The dictionary connection and its lookup row set on real workbooks.
#include "library/dictionary/row_set.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "library/dictionary/connection.h"
#include "library/dictionary/exact_index.h"
#include "tests/dictionary/dictionary_fixture.h"
#include "tests/support/temp_dir.h"

namespace vt::dictionary::testing {
namespace {

namespace fs = std::filesystem;

class DictionaryRowSetTest : public ::testing::Test {
 protected:
  fs::path file() const { return dir_ / "Veltrano.xls"; }

  std::shared_ptr<Connection> Open(const Rows& rows) {
    WriteWorkbook(file(), ThreeLanguages(), rows);
    return Connection::Open(file());
  }

 private:
  vt::testing::TempDir dir_{"vt-rowset"};
};

TEST_F(DictionaryRowSetTest, ExactLookupTakesTheFirstRowAndRespectsCase) {
  auto cn = Open({
      {"Start", "first", ""},
      {"start", "lower", ""},
      {"Start", "second", ""},
      {"Start ", "trailing", ""},
  });
  RowSet rs(cn);
  EXPECT_EQ(rs.FindExact("Language_1", "Start"), 1u);
  EXPECT_EQ(rs.FindExact("Language_1", "start"), 2u);
  EXPECT_EQ(rs.FindExact("Language_1", "Start "), 4u);
  EXPECT_EQ(rs.FindExact("Language_1", "START"), std::nullopt);
  EXPECT_EQ(rs.FindExact("Language_1", "Star"), std::nullopt);
  // Column names as the header row has them, letter case ignored.
  EXPECT_EQ(rs.FindExact("LANGUAGE_2", "second"), 3u);
  EXPECT_EQ(rs.Value(1, "Language_2"), "first");
  EXPECT_EQ(rs.Value(1, "Language_3"), "");
  EXPECT_EQ(rs.Value(99, "Language_3"), "");
}

TEST_F(DictionaryRowSetTest, AppendedRowIsVisibleAtOnceAndKeepsTheFirstOfEqualRows) {
  auto cn = Open({{"Start", "Démarrer", ""}});
  RowSet rs(cn);
  ASSERT_EQ(rs.FindExact("Language_1", "Stop"), std::nullopt);
  ASSERT_EQ(rs.FindContaining("Language_1", "sto"), std::nullopt);

  EXPECT_EQ(cn->Insert("Language_1", "Stop"), 2u);
  EXPECT_EQ(rs.FindExact("Language_1", "Stop"), 2u);
  EXPECT_EQ(rs.FindContaining("Language_1", "STO"), 2u);
  EXPECT_EQ(rs.Value(2, "Language_2"), "");

  // A second row with a text already there never shadows the first.
  EXPECT_EQ(cn->Insert("Language_1", "Start"), 3u);
  EXPECT_EQ(rs.FindExact("Language_1", "Start"), 1u);
  EXPECT_EQ(cn->Insert("Language_3", "Avvio"), 4u);
  EXPECT_EQ(rs.FindExact("Language_3", "Avvio"), 4u);
}

TEST_F(DictionaryRowSetTest, MissingColumnIsAnErrorNamingItAndTheFile) {
  auto cn = Open({{"Start", "", ""}});
  RowSet rs(cn);
  for (const auto& call : {+[](RowSet& r) { r.FindExact("Language_9", "Start"); },
                           +[](RowSet& r) { r.FindContaining("Language_9", "Start"); },
                           +[](RowSet& r) { r.Value(1, "Language_9"); }}) {
    try {
      call(rs);
      ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
      EXPECT_NE(std::string(e.what()).find("Language_9"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(file().string()), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(cn->Insert("Language_9", "x"), std::exception);
  EXPECT_FALSE(cn->Commit());
}

TEST_F(DictionaryRowSetTest, ContainmentIsLiteralAndIgnoresCase) {
  auto cn = Open({
      {"Pump #1 failed", "a", ""},
      {"Level 100% reached", "b", ""},
      {"Valve_2 [open]", "c", ""},
      {"ÜBERDRUCK Kessel", "d", ""},
      {"Pump #1 failed again", "e", ""},
      {"温度が高い", "f", ""},
  });
  RowSet rs(cn);
  EXPECT_EQ(rs.FindContaining("Language_1", "Pump #1 failed"), 1u);
  EXPECT_EQ(rs.FindContaining("Language_1", "pump #1"), 1u);
  EXPECT_EQ(rs.FindContaining("Language_1", "failed again"), 5u);
  EXPECT_EQ(rs.FindContaining("Language_1", "100%"), 2u);
  EXPECT_EQ(rs.FindContaining("Language_1", "100% r"), 2u);
  EXPECT_EQ(rs.FindContaining("Language_1", "[open]"), 3u);
  EXPECT_EQ(rs.FindContaining("Language_1", "überdruck"), 4u);
  EXPECT_EQ(rs.FindContaining("Language_1", "が高"), 6u);
  // Wildcard characters of the filter language mean themselves.
  EXPECT_EQ(rs.FindContaining("Language_1", "Pump*failed"), std::nullopt);
  EXPECT_EQ(rs.FindContaining("Language_1", "Pump ?1"), std::nullopt);
  EXPECT_EQ(rs.FindContaining("Language_1", "Valve[_]2"), std::nullopt);
  EXPECT_EQ(rs.FindContaining("Language_1", "Level 100"), 2u);
  EXPECT_EQ(rs.FindContaining("Language_1", "Level_100"), std::nullopt);
}

TEST_F(DictionaryRowSetTest, EmptyTextContainedOnlyInFilledCells) {
  auto cn = Open({{"", "no source", ""}, {"Pump", "Pompe", ""}});
  RowSet rs(cn);
  EXPECT_EQ(rs.FindContaining("Language_1", ""), 2u);
  EXPECT_EQ(rs.FindContaining("Language_3", ""), std::nullopt);
}

TEST_F(DictionaryRowSetTest, CommitSavesOnceAndOnlyWhenSomethingChanged) {
  auto cn = Open({{"Start", "Démarrer", ""}});
  RowSet rs(cn);
  const std::string before = ReadFile(file());
  EXPECT_FALSE(cn->Commit());
  EXPECT_EQ(ReadFile(file()), before);

  cn->Insert("Language_1", "It's on");
  cn->Insert("Language_2", "Überlauf 🚒");
  EXPECT_EQ(ReadFile(file()), before);
  EXPECT_TRUE(cn->Commit());
  EXPECT_FALSE(cn->Commit());
  const auto rows = ReadWithXlrd(file());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2], (std::vector<XlrdCell>{Text("It's on"), Empty(), Empty()}));
  EXPECT_EQ(rows[3], (std::vector<XlrdCell>{Empty(), Text("Überlauf 🚒"), Empty()}));

  // Lookups after the save read the saved sheet.
  EXPECT_EQ(rs.FindExact("Language_1", "It's on"), 2u);
  EXPECT_EQ(rs.FindExact("Language_2", "Überlauf 🚒"), 3u);
  EXPECT_EQ(rs.FindContaining("Language_2", "überlauf"), 3u);
}

TEST_F(DictionaryRowSetTest, RowsAnotherWriterSavedAppearAfterOurSave) {
  auto ours = Open({{"Start", "Démarrer", ""}});
  RowSet rs(ours);
  ASSERT_EQ(rs.FindExact("Language_1", "Start"), 1u);

  auto theirs = Connection::Open(file());
  theirs->Insert("Language_1", "Theirs");
  ASSERT_TRUE(theirs->Commit());

  ours->Insert("Language_1", "Ours");
  EXPECT_EQ(rs.FindExact("Language_1", "Ours"), 2u);
  ASSERT_TRUE(ours->Commit());
  // Their row came first in the file: ours moved below it.
  EXPECT_EQ(rs.FindExact("Language_1", "Theirs"), 2u);
  EXPECT_EQ(rs.FindExact("Language_1", "Ours"), 3u);
  EXPECT_EQ(rs.FindExact("Language_1", "Start"), 1u);
  const auto rows = ReadWithXlrd(file());
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3][0], Text("Ours"));
}

TEST_F(DictionaryRowSetTest, OpenRefusesWorkbooksWithoutTheSheet) {
  WriteWorkbook(file(), ThreeLanguages(), {{"Start", "", ""}}, "Sheet1");
  try {
    Connection::Open(file());
    ADD_FAILURE() << "opened";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("Dictionary"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(file().string()), std::string::npos) << e.what();
  }
  EXPECT_THROW(Connection::Open(file().parent_path() / "absent.xls"), std::exception);
  WriteWorkbook(file(), ThreeLanguages(), {{"Start", "", ""}}, "dictionary");
  EXPECT_NO_THROW(Connection::Open(file()));
}

}  // namespace
}  // namespace vt::dictionary::testing

namespace vt::dictionary {
namespace {

TEST(DictionaryExactIndexTest, KeepsFirstRowsAcrossGrowth) {
  std::vector<std::string> texts;
  for (int i = 0; i < 5000; ++i) texts.push_back("text " + std::to_string(i));
  // Grown one step at a time, sized ahead, and sized ahead once it holds texts.
  for (const std::size_t reserve : {std::size_t{0}, std::size_t{10000}, std::size_t{10001}}) {
    SCOPED_TRACE(reserve);
    ExactIndex index;
    if (reserve == 10000) index.Reserve(reserve);
    EXPECT_EQ(index.Find("text 1"), std::nullopt);
    for (std::size_t i = 0; i < texts.size(); ++i) index.Add(texts[i], i + 1);
    if (reserve > 10000) index.Reserve(reserve);
    // The same texts again, later in sheet order: never shadowing the first.
    for (std::size_t i = 0; i < texts.size(); ++i) index.Add(texts[i], texts.size() + i + 1);
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(index.Find(texts[i]), i + 1);
    EXPECT_EQ(index.Find("text 5000"), std::nullopt);
    EXPECT_EQ(index.Find("Text 1"), std::nullopt);
    EXPECT_EQ(index.Find(""), std::nullopt);
  }
}

}  // namespace
}  // namespace vt::dictionary
