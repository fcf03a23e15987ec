// A worksheet added to a workbook reads back in our engine, xlrd and
// LibreOffice; later saves edit it in place like any sheet; every other
// sheet, stream and name stays as it was.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/system/env.h"
#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook {
namespace {

using test::FileIdOf;
using test::TempDir;
using Cells = std::map<std::pair<std::size_t, std::size_t>, std::string>;

constexpr const char* kNew = "Where used";

// What the engine's parts show of a file: where the EXTSST entries point
// (counted from the string table), the sheets the workbook's own SUPBOOK
// entry counts (SIZE_MAX without one), and each sheet's substream with the
// positions its INDEX keeps counted from its BOF.
struct Inside {
  std::vector<std::size_t> extsst;
  std::size_t supbook = SIZE_MAX, sheets = 0;
  std::map<std::string, detail::Bytes> substreams;
};

Inside Look(const std::filesystem::path& file) {
  using detail::Get32;
  const auto bytes = test::ReadBytes(file);
  const auto book = detail::ParseBook(std::span<const std::uint8_t>(bytes));
  Inside out;
  out.sheets = book->boundsheets.size();
  detail::RecordReader globals(book->stream, 0);
  detail::Record r;
  while (globals.Position() < book->globals_end && globals.Next(r)) {
    if (r.type == 0x01AE && r.size == 4 && detail::Get16(r.data + 2) == 0x0401) {
      out.supbook = detail::Get16(r.data);
    }
    for (std::size_t k = 2; r.type == detail::rt::kExtSst && k + 8 <= r.size; k += 8) {
      out.extsst.push_back(Get32(r.data + k) - book->sst_begin);
    }
  }
  for (const auto& bs : book->boundsheets) {
    detail::Bytes s(book->stream.begin() + static_cast<std::ptrdiff_t>(bs.begin),
                    book->stream.begin() + static_cast<std::ptrdiff_t>(bs.end));
    detail::RecordReader in(s, 0);
    while (in.Next(r)) {
      for (std::size_t k = 12; r.type == detail::rt::kIndex && k + 4 <= r.size; k += 4) {
        std::uint8_t* at = s.data() + r.offset + 4 + k;
        if (Get32(at) != 0) detail::Put32(at, static_cast<std::uint32_t>(Get32(at) - bs.begin));
      }
    }
    out.substreams[bs.name] = std::move(s);
  }
  return out;
}

// Our engine, xlrd and LibreOffice see the new sheet last with `cells`, and
// every other sheet as in `original`, byte for byte but where it lies.
void ExpectSheets(const std::filesystem::path& file, const std::filesystem::path& original,
                  const Cells& cells, const TempDir& dir) {
  Workbook before = Workbook::Open(original);
  Workbook after = Workbook::Open(file);
  auto names = before.SheetNames();
  names.push_back(kNew);
  ASSERT_EQ(after.SheetNames(), names);
  const Inside now = Look(file), then = Look(original);
  for (const auto& [name, bytes] : then.substreams) {
    EXPECT_TRUE(now.substreams.at(name) == bytes) << "sheet " << name << " changed";
  }
  EXPECT_EQ(now.extsst, then.extsst);
  for (const Inside* inside : {&now, &then}) {
    // The first bucket begins with the first string, after the table's counts.
    EXPECT_TRUE(inside->extsst.empty() || inside->extsst.front() == 12) << inside->extsst.front();
  }
  if (now.supbook != SIZE_MAX) {
    EXPECT_EQ(now.supbook, now.sheets);
  }
  Sheet* added = after.FindSheet(kNew);
  EXPECT_EQ(added->RowCount(), cells.rbegin()->first.first + 1);
  for (const auto& [pos, text] : cells) EXPECT_EQ(added->CellText(pos.first, pos.second), text);

  if (!test::HaveXlrd()) return;
  nlohmann::json xb = test::XlrdDump(original);
  nlohmann::json xa = test::XlrdDump(file);
  EXPECT_EQ(xa["names"], xb["names"]);
  EXPECT_EQ(xa["streams"], xb["streams"]);
  ASSERT_EQ(xa["sheets"].size(), xb["sheets"].size() + 1);
  for (std::size_t i = 0; i < xb["sheets"].size(); ++i) EXPECT_EQ(xa["sheets"][i], xb["sheets"][i]);
  const auto& x = xa["sheets"].back();
  EXPECT_EQ(x["name"], kNew);
  ASSERT_EQ(x["cells"].size(), cells.size());
  for (const auto& cell : x["cells"]) {
    EXPECT_EQ(cell["value"], cells.at({cell["r"], cell["c"]})) << cell["r"] << "," << cell["c"];
  }

  if (!test::HaveLibreOffice()) return;
  auto csv = test::LibreOfficeCsv({original, file}, dir.path() / file.stem().string());
  auto& cb = csv[original.string()];
  auto& ca = csv[file.string()];
  ASSERT_EQ(ca.size(), cb.size() + 1) << "LibreOffice did not open " << file;
  for (const auto& [name, text] : cb) EXPECT_EQ(ca[name], text) << name;
  const auto rows = test::ParseCsv(ca[kNew]);
  for (const auto& [pos, text] : cells) {
    ASSERT_LT(pos.first, rows.size());
    EXPECT_EQ(rows[pos.first].at(pos.second), text) << pos.first << "," << pos.second;
  }
}

TEST(AddSheet, ReadsBackEverywhereAndLaterSavesEditItInPlace) {
  struct Source {
    const char* what;
    std::function<std::filesystem::path(const TempDir&)> make;
  };
  const auto ours = [](const TempDir& dir, bool two) {
    const auto file = dir / "ours.xls";
    Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Language_2"});
    Workbook book = Workbook::Open(file);
    for (int i = 0; i < 40; ++i)
      book.FindSheet("Dictionary")->AppendRow(0, "Text " + std::to_string(i));
    if (two) book.AddSheet("Zweite Übersicht")->SetCellText(2, 1, "früher hinzugefügt");
    book.Save();
    return file;
  };
  const Source sources[] = {
      {"made by CreateDictionary", [&](const TempDir& dir) { return ours(dir, false); }},
      {"two sheets, one added before", [&](const TempDir& dir) { return ours(dir, true); }},
      {"LibreOffice's, four sheets, names and other streams",
       [](const TempDir&) { return test::Fixture("mixed.xls"); }},
  };
  const std::string longest = "中" + std::string(32766, 'x');  // in the shared string table
  for (const Source& source : sources) {
    SCOPED_TRACE(source.what);
    TempDir dir;
    const auto made = source.make(dir);
    if (made.empty()) continue;  // LibreOffice made no fixtures here
    const auto original = dir / "original.xls";
    const auto file = dir / "added.xls";
    if (made != original) std::filesystem::copy_file(made, original);
    std::filesystem::copy_file(original, file);

    Cells cells;
    for (std::size_t r = 0; r < 70; ++r) cells[{r, 0}] = "Text " + std::to_string(r);
    cells[{0, 1}] = "Places";
    cells[{5, 1}] = "Bildschirm Ü – 画面 😀";
    cells[{40, 2}] = longest;
    {
      Workbook book = Workbook::Open(file);
      Sheet* sheet = book.AddSheet(kNew);
      EXPECT_EQ(book.FindSheet("WHERE USED"), sheet);
      EXPECT_TRUE(book.HasPendingEdits());
      for (const auto& [pos, text] : cells) sheet->SetCellText(pos.first, pos.second, text);
      book.Save();
      EXPECT_EQ(sheet->CellText(40, 2), longest);
    }
    const auto first = dir / "first.xls";
    std::filesystem::copy_file(file, first);
    ExpectSheets(first, original, cells, dir);

    // The next save edits the new sheet in place: the file stays, and grows by
    // what changed.
    const std::uint64_t id = FileIdOf(file);
    const auto size = std::filesystem::file_size(file);
    {
      Workbook book = Workbook::Open(file);
      Sheet* sheet = book.FindSheet(kNew);
      sheet->SetCellText(69, 1, "geändert");
      cells[{69, 1}] = "geändert";
      const std::size_t row = sheet->AppendRow(1, "angehängt");
      cells[{row, 1}] = "angehängt";
      book.Save();
    }
    EXPECT_EQ(FileIdOf(file), id);
    EXPECT_LT(std::filesystem::file_size(file), size + size / 4);
    ExpectSheets(file, original, cells, dir);
  }
}

TEST(AddSheet, RefusesNamesTheSpreadsheetRefusesAndSavesSheetsWithoutCells) {
  TempDir dir;
  const auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
  const auto bytes = test::ReadBytes(file);
  Workbook book = Workbook::Open(file);
  ASSERT_NE(book.AddSheet("Übersicht"), nullptr);
  const std::pair<std::string, const char*> cases[] = {
      {"", "empty"},
      {std::string(32, 'x'), "31 characters"},
      {"a:b", ":"},
      {"a\\b", "\\"},
      {"a/b", "/"},
      {"a?b", "?"},
      {"a*b", "*"},
      {"a[b", "["},
      {"a]b", "]"},
      {"'ab", "apostrophe"},
      {"ab'", "apostrophe"},
      {"DICTIONARY", "\"Dictionary\" already"},
      {"ÜBERSICHT", "\"Übersicht\" already"},  // pending, and letter case beyond ASCII
      {"history", "keeps that name"},
      {"bad \xFF", "UTF-8"},
  };
  for (const auto& [name, why] : cases) {
    try {
      book.AddSheet(name);
      ADD_FAILURE() << "accepted \"" << name << "\"";
    } catch (const Error& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find("\"" + name + "\""), std::string::npos) << what;
      EXPECT_NE(what.find(why), std::string::npos) << what;
    }
  }
  EXPECT_EQ(book.SheetNames(), (std::vector<std::string>{"Dictionary", "Übersicht"}));
  EXPECT_EQ(test::ReadBytes(file), bytes);
  ASSERT_NE(book.AddSheet(std::string(29, 'x') + "'x"), nullptr);
  book.Save();
  const std::vector<std::string> names{"Dictionary", "Übersicht", std::string(29, 'x') + "'x"};
  EXPECT_EQ(Workbook::Open(file).SheetNames(), names);
  if (!test::HaveXlrd()) return;
  const auto x = test::XlrdDump(file);
  ASSERT_EQ(x["sheets"].size(), 3u);
  for (std::size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(x["sheets"][i]["name"], names[i]);
    EXPECT_EQ(x["sheets"][i]["nrows"], 0);
  }
}

// Another program saved meanwhile: our new sheet goes into the fresh file,
// and when that program added a worksheet of the name, its sheet stands for
// ours (its cells keep their values).
TEST(AddSheet, AConcurrentSaveMeanwhile) {
  for (const bool they_add : {false, true}) {
    SCOPED_TRACE(they_add ? "they added the sheet too" : "they appended a row");
    TempDir dir;
    const auto file = dir / "d.xls";
    Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
    Workbook ours = Workbook::Open(file);
    Workbook theirs = Workbook::Open(file);
    Sheet* mine = ours.AddSheet(kNew);
    mine->SetCellText(0, 0, "ours A1");
    mine->SetCellText(1, 1, "ours B2");
    mine->AppendRow(0, "ours appended");
    theirs.FindSheet("Dictionary")->AppendRow(0, "their row");
    if (they_add) theirs.AddSheet("WHERE USED")->SetCellText(0, 0, "their A1");
    theirs.Save();
    ours.Save();

    Workbook check = Workbook::Open(file);
    EXPECT_EQ(check.SheetNames(),
              (std::vector<std::string>{"Dictionary", they_add ? "WHERE USED" : kNew}));
    EXPECT_EQ(check.FindSheet("Dictionary")->CellText(1, 0), "their row");
    Sheet* s = check.FindSheet(kNew);
    EXPECT_EQ(s->CellText(0, 0), they_add ? "their A1" : "ours A1");
    EXPECT_EQ(s->CellText(1, 1), "ours B2");
    EXPECT_EQ(s->CellText(2, 0), "ours appended");
    EXPECT_EQ(mine->CellText(1, 1), "ours B2");  // the pointer follows the fresh file
  }
}

}  // namespace
}  // namespace vt::workbook
