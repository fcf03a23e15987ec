// Editing: what we change reads back, in LibreOffice and in xlrd, and
// everything else stays as the spreadsheet program wrote it.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook {
namespace {

using test::TempDir;
using Cells = std::map<std::pair<std::size_t, std::size_t>, std::string>;

std::map<std::pair<int, int>, nlohmann::json> ByPosition(const nlohmann::json& sheet) {
  std::map<std::pair<int, int>, nlohmann::json> out;
  for (const auto& cell : sheet["cells"]) out[{cell["r"], cell["c"]}] = cell;
  return out;
}

const nlohmann::json& SheetNamed(const nlohmann::json& dump, const std::string& name) {
  for (const auto& s : dump["sheets"]) {
    if (s["name"] == name) return s;
  }
  throw std::runtime_error("no sheet " + name);
}

std::string Repeat(const std::string& unit, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += unit;
  return out;
}

TEST(EditRoundTrip, LibreOfficeAndXlrdReadOurEditsAndEverythingElseUnchanged) {
  auto fixture = test::Fixture("mixed.xls");
  if (fixture.empty()) GTEST_SKIP() << "LibreOffice made no fixtures here";
  TempDir dir;
  auto original = dir / "original.xls";
  auto edited = dir / "edited.xls";
  std::filesystem::copy_file(fixture, original);
  std::filesystem::copy_file(fixture, edited);
  std::filesystem::permissions(edited, std::filesystem::perms(0640));

  const std::string long_wide = Repeat("Ünïcödé €𝄞 ", 1500);  // UTF-16, split, pairs
  Cells expected = {
      {{2, 0}, "Stop"},  // trimmed
      {{2, 1}, "Arrêt"},
      {{1, 2}, "开始了"},
      {{7, 1}, "two"},          // was a number inside a MULRK
      {{8, 2}, "now filled"},   // was a formatted blank inside a MULBLANK
      {{3, 3}, "😀 new emoji"},  // was empty
      {{5, 2}, long_wide},
      {{1, 3}, ""},                        // cleared
      {{4, 1}, "Pupitre de l'opérateur"},  // unchanged value: no edit at all
  };
  std::size_t appended_1 = 0, appended_2 = 0;
  {
    Workbook book = Workbook::Open(edited);
    Sheet* sheet = book.FindSheet("dictionary");
    ASSERT_NE(sheet, nullptr);
    for (const auto& [pos, text] : expected) sheet->SetCellText(pos.first, pos.second, text);
    appended_1 = sheet->AppendRow(1, "Appended ü");
    appended_2 = sheet->AppendRow(2, "追加 𝄞");
    EXPECT_EQ(appended_1, 11u);
    EXPECT_EQ(appended_2, 12u);
    EXPECT_EQ(sheet->RowCount(), 13u);
    EXPECT_EQ(sheet->CellText(2, 0), "Stop");  // visible before the save
    EXPECT_TRUE(book.HasPendingEdits());
    book.Save();
    EXPECT_FALSE(book.HasPendingEdits());
    EXPECT_EQ(sheet->CellText(appended_2, 2), "追加 𝄞");  // same Sheet, after the save
  }
  expected[{appended_1, 1}] = "Appended ü";
  expected[{appended_2, 2}] = "追加 𝄞";
  EXPECT_EQ(std::filesystem::status(edited).permissions(), std::filesystem::perms(0640));

  // Our own reader: the edits, and every other cell of every sheet as before.
  {
    Workbook before = Workbook::Open(original);
    Workbook after = Workbook::Open(edited);
    ASSERT_EQ(after.SheetNames(), before.SheetNames());
    for (const std::string& name : before.SheetNames()) {
      Sheet* b = before.FindSheet(name);
      Sheet* a = after.FindSheet(name);
      for (std::size_t r = 0; r < std::max(a->RowCount(), b->RowCount()); ++r) {
        for (std::size_t c = 0; c < 8; ++c) {
          auto want = name == "Dictionary" && expected.count({r, c})
                          ? expected[{r, c}]
                          : std::string(b->CellText(r, c));
          EXPECT_EQ(a->CellText(r, c), want) << name << " " << r << "," << c;
        }
      }
    }
  }

  // xlrd: values, formats (XF, font, number format, fill), widths, names, streams.
  nlohmann::json xb = test::XlrdDump(original);
  nlohmann::json xa = test::XlrdDump(edited);
  EXPECT_EQ(xa["names"], xb["names"]);
  EXPECT_EQ(xa["streams"], xb["streams"]);
  EXPECT_EQ(xa["streams"].size(), 4u);
  for (const char* name : {"Numbers", "Empty", "Notes"}) {
    EXPECT_EQ(SheetNamed(xa, name), SheetNamed(xb, name)) << name;
  }
  const auto& db = SheetNamed(xb, "Dictionary");
  const auto& da = SheetNamed(xa, "Dictionary");
  EXPECT_EQ(da["widths"], db["widths"]);
  auto before = ByPosition(db), after = ByPosition(da);
  for (const auto& [pos, cell] : before) {
    std::pair<std::size_t, std::size_t> key{pos.first, pos.second};
    if (expected.count(key)) {
      ASSERT_TRUE(after.count(pos)) << pos.first << "," << pos.second;
      EXPECT_EQ(after[pos]["xf"], cell["xf"])
          << "format kept at " << pos.first << "," << pos.second;
      continue;
    }
    EXPECT_EQ(after[pos], cell) << pos.first << "," << pos.second;
  }
  for (const auto& [key, text] : expected) {
    std::pair<int, int> pos{static_cast<int>(key.first), static_cast<int>(key.second)};
    if (text.empty()) {
      if (after.count(pos)) {
        EXPECT_EQ(after[pos]["type"], 6) << "a blank keeps its format";
      }
      continue;
    }
    ASSERT_TRUE(after.count(pos)) << key.first << "," << key.second;
    EXPECT_EQ(after[pos]["value"], text);
    EXPECT_EQ(after[pos]["type"], 1);
  }
  EXPECT_EQ(da["nrows"], 13);

  // LibreOffice: every untouched sheet displays exactly as before; the edited
  // one shows our texts.
  if (!test::HaveLibreOffice()) return;
  auto csv = test::LibreOfficeCsv({original, edited}, dir.path());
  auto& cb = csv[original.string()];
  auto& ca = csv[edited.string()];
  ASSERT_EQ(ca.size(), 4u) << "LibreOffice did not open the edited workbook";
  for (const char* name : {"Numbers", "Empty", "Notes"}) EXPECT_EQ(ca[name], cb[name]) << name;
  auto rows_b = test::ParseCsv(cb["Dictionary"]);
  auto rows_a = test::ParseCsv(ca["Dictionary"]);
  ASSERT_EQ(rows_a.size(), 13u);
  for (std::size_t r = 0; r < rows_a.size(); ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      std::string want;
      if (expected.count({r, c})) {
        want = expected[{r, c}];
      } else if (r < rows_b.size() && c < rows_b[r].size()) {
        want = rows_b[r][c];
      }
      std::string got = c < rows_a[r].size() ? rows_a[r][c] : "";
      EXPECT_EQ(got, want) << r << "," << c;
    }
  }
}

// Numbers set into cells are numbers to the spreadsheet programs, beside
// texts, over texts and under texts, and after a replay on a fresh file.
TEST(EditRoundTrip, NumbersReadBackAsNumbers) {
  TempDir dir;
  auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Count"});
  {
    Workbook seed = Workbook::Open(file);
    Sheet* sheet = seed.FindSheet("Dictionary");
    sheet->SetCellText(1, 1, "7");  // a text that becomes a number
    sheet->SetCellNumber(2, 1, 8);  // a number that becomes a text
    seed.Save();
  }
  struct Case {
    double value;
    const char* shown;             // as our reader shows it
    const char* office = nullptr;  // as LibreOffice does, when it differs
  };
  const Case cases[] = {{7, "7"},
                        {0, "0"},
                        {-3, "-3"},
                        {1.5, "1.5"},
                        {0.1, "0.1"},
                        {65535, "65535"},
                        {1e20, "1E+20", "1E+020"},
                        {123456789012345, "123456789012345"}};
  Workbook book = Workbook::Open(file);
  Workbook theirs = Workbook::Open(file);
  Sheet* sheet = book.FindSheet("Dictionary");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    if (i != 1) sheet->SetCellNumber(i + 1, 1, cases[i].value);
  }
  sheet->SetCellText(2, 1, "eight");
  sheet->SetCellNumber(2, 1, cases[1].value);
  EXPECT_EQ(sheet->Kind(1, 1), CellKind::kNumber);
  EXPECT_EQ(sheet->CellText(1, 1), "7");
  EXPECT_THROW(sheet->SetCellNumber(3, 1, std::nan("")), Error);
  EXPECT_THROW(sheet->SetCellNumber(65536, 1, 1), Error);
  // Another writer saves first: ours are replayed on its file.
  theirs.FindSheet("Dictionary")->SetCellText(1, 0, "theirs");
  theirs.Save();
  book.Save();
  {
    Workbook again = Workbook::Open(file);
    Sheet* read = again.FindSheet("Dictionary");
    EXPECT_EQ(read->CellText(1, 0), "theirs");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      EXPECT_EQ(read->Kind(i + 1, 1), CellKind::kNumber) << i;
      EXPECT_EQ(read->CellText(i + 1, 1), cases[i].shown) << i;
    }
    // The same number again is no edit.
    read->SetCellNumber(1, 1, 7);
    EXPECT_FALSE(again.HasPendingEdits());
    read->SetCellText(1, 1, "seven");
    EXPECT_EQ(read->Kind(1, 1), CellKind::kText);
  }
  if (test::HaveXlrd()) {
    const auto cells = ByPosition(test::XlrdDump(file)["sheets"][0]);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      const auto& cell = cells.at({static_cast<int>(i + 1), 1});
      EXPECT_EQ(cell["type"], 2) << i;  // a number
      EXPECT_EQ(cell["value"].get<double>(), cases[i].value) << i;
    }
  }
  if (!test::HaveLibreOffice()) return;
  const auto rows =
      test::ParseCsv(test::LibreOfficeCsv({file}, dir.path())[file.string()]["Dictionary"]);
  ASSERT_EQ(rows.size(), std::size(cases) + 1);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(rows[i + 1][1], cases[i].office ? cases[i].office : cases[i].shown);
  }
}

TEST(EditRoundTrip, SavingWithoutEditsWritesNothing) {
  TempDir dir;
  Workbook::CreateDictionary(dir / "d.xls", "Dictionary", {"Language_1"});
  auto before = std::filesystem::last_write_time(dir / "d.xls");
  auto bytes = test::ReadBytes(dir / "d.xls");
  Workbook book = Workbook::Open(dir / "d.xls");
  book.FindSheet("Dictionary")->SetCellText(0, 0, "Language_1");  // same text
  EXPECT_FALSE(book.HasPendingEdits());
  book.Save();
  EXPECT_EQ(std::filesystem::last_write_time(dir / "d.xls"), before);
  EXPECT_EQ(test::ReadBytes(dir / "d.xls"), bytes);
}

TEST(CreateDictionary, SpreadsheetProgramsOpenItAndItGrows) {
  TempDir dir;
  auto fresh = dir / "fresh.xls";
  auto grown = dir / "grown.xls";
  std::vector<std::string> headers = {"Language_1", "Language_2", "Language_3", "Remark"};
  Workbook::CreateDictionary(fresh, "Dictionary", headers);
  Workbook::CreateDictionary(grown, "Dictionary", headers);
  std::vector<std::string> texts;
  {
    Workbook book = Workbook::Open(grown);
    Sheet* sheet = book.FindSheet("Dictionary");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->RowCount(), 1u);
    EXPECT_EQ(sheet->FindColumn("LANGUAGE_3"), 2u);
    for (int i = 0; i < 300; ++i) {
      texts.push_back("Text " + std::to_string(i) + (i % 7 == 0 ? " – 中文" : ""));
      sheet->AppendRow(static_cast<std::size_t>(i % 3), texts.back());
      if (i % 100 == 99) book.Save();  // several saves, each on the last one's output
    }
    sheet->SetCellText(5, 3, "remark");
    book.Save();
  }
  if (!test::HaveXlrd()) return;
  nlohmann::json xf = test::XlrdDump(fresh);
  ASSERT_EQ(xf["sheets"].size(), 1u);
  EXPECT_EQ(xf["sheets"][0]["name"], "Dictionary");
  EXPECT_EQ(xf["sheets"][0]["nrows"], 1);
  for (std::size_t c = 0; c < headers.size(); ++c) {
    EXPECT_EQ(xf["sheets"][0]["cells"][c]["value"], headers[c]);
  }
  nlohmann::json xg = test::XlrdDump(grown);
  auto cells = ByPosition(xg["sheets"][0]);
  EXPECT_EQ(xg["sheets"][0]["nrows"], 301);
  for (int i = 0; i < 300; ++i) {
    std::pair<int, int> pos{i + 1, i % 3};
    EXPECT_EQ(cells[pos]["value"], texts[static_cast<std::size_t>(i)]);
  }
  std::pair<int, int> remark{5, 3};
  EXPECT_EQ(cells[remark]["value"], "remark");

  if (!test::HaveLibreOffice()) return;
  auto csv = test::LibreOfficeCsv({fresh, grown}, dir.path());
  auto rows = test::ParseCsv(csv[fresh.string()]["Dictionary"]);
  ASSERT_EQ(rows.size(), 1u) << "LibreOffice did not open the new workbook";
  EXPECT_EQ(rows[0], headers);
  rows = test::ParseCsv(csv[grown.string()]["Dictionary"]);
  ASSERT_EQ(rows.size(), 301u) << "LibreOffice did not open the grown workbook";
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(rows[static_cast<std::size_t>(i + 1)][static_cast<std::size_t>(i % 3)],
              texts[static_cast<std::size_t>(i)]);
  }
}

TEST(CreateDictionary, RefusesWhatTheFormatCannotHold) {
  TempDir dir;
  EXPECT_THROW(Workbook::CreateDictionary(dir / "a.xls", "Dict[1]", {"x"}), Error);
  EXPECT_THROW(Workbook::CreateDictionary(dir / "a.xls", "", {"x"}), Error);
  EXPECT_THROW(Workbook::CreateDictionary(dir / "a.xls", "D", std::vector<std::string>(257, "x")),
               Error);
  EXPECT_THROW(Workbook::CreateDictionary(dir / "a.xls", "D", {std::string(32768, 'x')}), Error);
  EXPECT_FALSE(std::filesystem::exists(dir / "a.xls"));
}

TEST(Limits, ClearErrorsAndTheFileUntouched) {
  TempDir dir;
  auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
  Workbook book = Workbook::Open(file);
  Sheet* sheet = book.FindSheet("Dictionary");
  try {
    sheet->SetCellText(1, 0, std::string(32768, 'x'));
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("32,767"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
  }
  // Characters count in UTF-16 units, as the format does: 16,384 pairs are too many.
  EXPECT_THROW(sheet->SetCellText(1, 0, Repeat("😀", 16384)), Error);
  sheet->SetCellText(1, 0, std::string(32767, 'x'));
  EXPECT_THROW(sheet->SetCellText(1, 256, "x"), Error);
  EXPECT_THROW(sheet->AppendRow(300, "x"), Error);
  EXPECT_THROW(sheet->SetCellText(65536, 0, "x"), Error);
  EXPECT_THROW(sheet->SetCellText(2, 0, "\xFF bad"), Error);
  sheet->SetCellText(65535, 0, "last row");
  EXPECT_EQ(sheet->RowCount(), 65536u);
  try {
    sheet->AppendRow(0, "one too many");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("65,536"), std::string::npos) << e.what();
  }
  book.Save();
  Workbook again = Workbook::Open(file);
  EXPECT_EQ(again.FindSheet("Dictionary")->CellText(65535, 0), "last row");
  EXPECT_EQ(again.FindSheet("Dictionary")->CellText(1, 0).size(), 32767u);
  if (test::HaveXlrd()) {
    EXPECT_EQ(test::XlrdDump(file)["sheets"][0]["nrows"], 65536);
  }
}

TEST(ConcurrentChange, OurPendingEditsAreReplayedOnTheFreshFile) {
  TempDir dir;
  auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Language_2"});
  {
    Workbook seed = Workbook::Open(file);
    seed.FindSheet("Dictionary")->AppendRow(0, "Alpha");
    seed.FindSheet("Dictionary")->AppendRow(0, "Beta");
    seed.Save();
  }
  Workbook ours = Workbook::Open(file);
  Workbook theirs = Workbook::Open(file);
  Sheet* mine = ours.FindSheet("Dictionary");
  Sheet* other = theirs.FindSheet("Dictionary");

  std::size_t my_row = mine->AppendRow(0, "Mine");
  mine->SetCellText(my_row, 1, "Meins");   // on our own new row
  mine->SetCellText(1, 1, "Alpha-de");     // nobody else touches this cell
  mine->SetCellText(2, 0, "Beta (ours)");  // the other side changes it first
  other->AppendRow(0, "Theirs");
  other->SetCellText(2, 0, "Beta (theirs)");
  theirs.Save();
  ours.Save();

  EXPECT_EQ(mine->RowCount(), 5u);  // the Sheet pointer still works after the re-read
  EXPECT_EQ(mine->CellText(3, 0), "Theirs");
  EXPECT_EQ(mine->CellText(4, 0), "Mine");
  EXPECT_EQ(mine->CellText(4, 1), "Meins");
  EXPECT_EQ(mine->CellText(1, 1), "Alpha-de");
  EXPECT_EQ(mine->CellText(2, 0), "Beta (theirs)");  // their value wins
  Workbook check = Workbook::Open(file);
  Sheet* s = check.FindSheet("Dictionary");
  EXPECT_EQ(s->RowCount(), 5u);
  EXPECT_EQ(s->CellText(4, 1), "Meins");
  EXPECT_EQ(s->CellText(2, 0), "Beta (theirs)");
}

// Two processes that both lack a text append it both: a unique append finds
// the other's row on the fresh file and adds none; a plain one still adds.
TEST(ConcurrentChange, AUniqueAppendTheOtherSideMadeMeanwhileIsNotRepeated) {
  TempDir dir;
  auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Language_2"});
  Workbook ours = Workbook::Open(file);
  Workbook theirs = Workbook::Open(file);
  Sheet* mine = ours.FindSheet("Dictionary");
  const std::size_t shared = mine->AppendUniqueRow(0, "Both lack it");
  mine->SetCellText(shared, 1, "Ours");  // their row keeps what they put there
  mine->AppendUniqueRow(0, "Only ours");
  mine->AppendRow(0, "Plain");
  Sheet* other = theirs.FindSheet("Dictionary");
  other->SetCellText(other->AppendUniqueRow(0, "Both lack it"), 1, "Theirs");
  other->AppendRow(0, "Plain");
  theirs.Save();
  ours.Save();

  const std::vector<std::string> expected{"Both lack it", "Plain", "Only ours", "Plain"};
  Workbook check = Workbook::Open(file);
  Sheet* s = check.FindSheet("Dictionary");
  ASSERT_EQ(s->RowCount(), 1 + expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(s->CellText(i + 1, 0), expected[i]);
  EXPECT_EQ(s->CellText(1, 1), "Theirs");
}

TEST(ConcurrentChange, AFileReplacedByGarbageKeepsOurEditsPending) {
  TempDir dir;
  auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
  Workbook book = Workbook::Open(file);
  book.FindSheet("Dictionary")->AppendRow(0, "kept");
  test::WriteBytes(file, {'P', 'K', 3, 4, 0, 0});
  EXPECT_THROW(book.Save(), Error);
  EXPECT_TRUE(book.HasPendingEdits());
  EXPECT_EQ(test::ReadBytes(file).size(), 6u);  // not overwritten
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
  book.Save();
  EXPECT_EQ(Workbook::Open(file).FindSheet("Dictionary")->CellText(1, 0), "kept");
}

}  // namespace
}  // namespace vt::workbook
