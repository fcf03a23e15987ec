// What the reader accepts is checked: a book with a flipped field reads, says
// what is damaged and where, and is never saved. And a save that costs what
// changed still gives a file that spreadsheet programs read.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/system/env.h"
#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook {
namespace {

using namespace detail;
using test::FileIdOf;
using test::TempDir;

// A dictionary written whole by the engine: its Workbook stream lies in
// order from the first sector on, at file offset 512.
std::filesystem::path MakeBook(const TempDir& dir, std::size_t rows) {
  const auto file = dir / "Veltrano.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Language_2"});
  Workbook book = Workbook::Open(file);
  for (std::size_t i = 0; i < rows; ++i) {
    book.FindSheet("Dictionary")->AppendRow(i % 2, "Text " + std::to_string(i));
  }
  book.Save();
  return file;
}

// The first record of `type` after the worksheet's BOF (or in the globals).
std::size_t FindRecord(const Bytes& stream, std::uint16_t type, bool in_sheet) {
  RecordReader in(stream, 0);
  Record r;
  int bofs = 0;
  while (in.Next(r)) {
    if (r.type == rt::kBof) ++bofs;
    if (r.type == type && (bofs == 2) == in_sheet) return r.offset;
  }
  ADD_FAILURE() << "no record " << RecordName(type);
  return 0;
}

TEST(DamagedBook, ReadsNamesTheDamageAndIsNeverSaved) {
  struct Case {
    const char* what;
    // Changes the stream bytes at `at` (a record of `type`) in the file.
    std::uint16_t type;
    bool in_sheet;
    std::function<void(std::uint8_t* record)> flip;
    const char* says;
  };
  const Case cases[] = {
      {"DIMENSIONS too small for the cells", rt::kDimensions, true,
       [](std::uint8_t* r) { Put32(r + 4 + 4, 2); }, "DIMENSIONS record"},
      {"a cell moved above the rows before it", rt::kLabel, true,
       [](std::uint8_t* r) { Put16(r + 4, 0); }, "out of the order"},
      {"a text shorter than its LABEL record", rt::kLabel, true,
       [](std::uint8_t* r) { Put16(r + 4 + 6, Get16(r + 4 + 6) - 1); }, "1 bytes after its text"},
      {"a worksheet whose BOF says otherwise", rt::kBof, true,
       [](std::uint8_t* r) { Put16(r + 6, 0x0020); }, "BOF record"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const auto file = MakeBook(dir, 40);
    auto bytes = test::ReadBytes(file);
    const auto book = ParseBook(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
    ASSERT_TRUE(book->damage.empty()) << book->damage;
    c.flip(bytes.data() + 512 + FindRecord(book->stream, c.type, c.in_sheet));
    test::WriteBytes(file, bytes);

    Workbook damaged = Workbook::Open(file);
    EXPECT_NE(std::string(damaged.Damage()).find(c.says), std::string::npos) << damaged.Damage();
    EXPECT_NE(std::string(damaged.Damage()).find("stream offset"), std::string::npos);
    damaged.FindSheet("Dictionary")->AppendRow(0, "More");
    try {
      damaged.Save();
      ADD_FAILURE() << "a damaged book was saved";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::ReadBytes(file), bytes);
  }
}

TEST(DamagedBook, ATextLongerThanItsLabelRecordIsAnError) {
  TempDir dir;
  const auto file = MakeBook(dir, 2);
  auto bytes = test::ReadBytes(file);
  const auto book = ParseBook(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
  Put16(bytes.data() + 512 + FindRecord(book->stream, rt::kLabel, true) + 4 + 6, 200);
  test::WriteBytes(file, bytes);
  try {
    Workbook::Open(file);
    ADD_FAILURE() << "a LABEL record cut short was read";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("record LABEL at stream offset"), std::string::npos)
        << e.what();
    EXPECT_NE(std::string(e.what()).find("is cut short"), std::string::npos) << e.what();
  }
}

TEST(SaveInPlace, OneRowSavesKeepTheFileAndProgramsReadIt) {
  TempDir dir;
  const auto file = MakeBook(dir, 20000);
  const std::uint64_t id = FileIdOf(file);
  const auto size = std::filesystem::file_size(file);
  {
    Workbook book = Workbook::Open(file);
    for (int i = 0; i < 3; ++i) {
      const auto before = std::filesystem::file_size(file);
      book.FindSheet("Dictionary")->AppendRow(1, "Neu " + std::to_string(i) + " – 中文");
      book.Save();
      // The sectors of the row's block, of the INDEX and DIMENSIONS entries
      // that change, of the FAT and the directory: not the whole INDEX.
      EXPECT_LE(std::filesystem::file_size(file) - before, 12u * 512) << "save " << i;
    }
    // Changed in place, not replaced, and by a few sectors, not a copy.
    EXPECT_EQ(FileIdOf(file), id);
    EXPECT_LT(std::filesystem::file_size(file), size + size / 4);
  }
  EXPECT_TRUE(Workbook::Open(file).Damage().empty());
  if (!test::HaveXlrd()) return;
  nlohmann::json x = test::XlrdDump(file);
  EXPECT_EQ(x["sheets"][0]["nrows"], 20004);
  if (!test::HaveLibreOffice()) return;
  auto csv = test::LibreOfficeCsv({file}, dir.path());
  auto rows = test::ParseCsv(csv[file.string()]["Dictionary"]);
  ASSERT_EQ(rows.size(), 20004u) << "LibreOffice did not open the workbook saved in place";
  EXPECT_EQ(rows[20003][1], "Neu 2 – 中文");
}

}  // namespace
}  // namespace vt::workbook
