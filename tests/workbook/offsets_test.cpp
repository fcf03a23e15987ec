// Positions that records keep (BOUNDSHEET, INDEX, DBCELL, EXTSST) point where
// they should after our saves. Neither LibreOffice nor xlrd reads INDEX and
// DBCELL, so nothing else would notice if they went wrong.

#include <gtest/gtest.h>

#include "platform/workbook/internal/cfb.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook::detail {
namespace {

Bytes Stream(const std::filesystem::path& file) {
  auto bytes = test::ReadBytes(file);
  CompoundFile cf = ReadCompoundFile(bytes.data(), bytes.size());
  return cf.entries[cf.FindRootStream(u"Workbook")].data;
}

std::uint16_t TypeAt(const Bytes& s, std::size_t at) {
  EXPECT_LE(at + 4, s.size());
  return at + 4 <= s.size() ? Get16(s.data() + at) : 0;
}

void CheckOffsets(const Bytes& s) {
  RecordReader in(s, 0);
  Record r;
  std::vector<std::size_t> sheets;
  std::size_t sst_strings_at = 0;
  while (in.Next(r) && r.type != rt::kEof) {
    if (r.type == rt::kBoundSheet) sheets.push_back(Get32(r.data));
    if (r.type == rt::kSst) sst_strings_at = r.offset + 4 + 8;
    if (r.type == rt::kExtSst && r.size >= 10) {
      // The first bucket starts at the first string, counted from its record's start.
      EXPECT_EQ(Get32(r.data + 2), sst_strings_at);
      EXPECT_EQ(Get16(r.data + 6), 12u);
    }
  }
  ASSERT_FALSE(sheets.empty());
  std::size_t indexes = 0;
  for (std::size_t at : sheets) {
    ASSERT_EQ(TypeAt(s, at), rt::kBof);
    RecordReader sheet(s, at);
    while (sheet.Next(r) && r.type != rt::kEof) {
      if (r.type != rt::kIndex) continue;
      ++indexes;
      std::size_t defcol = Get32(r.data + 12);
      if (defcol) {
        EXPECT_EQ(TypeAt(s, defcol), rt::kDefColWidth);
      }
      for (std::size_t k = 16; k + 4 <= r.size; k += 4) {
        std::size_t dbcell = Get32(r.data + k);
        ASSERT_EQ(TypeAt(s, dbcell), rt::kDbCell) << "INDEX entry " << (k - 16) / 4;
        const std::uint8_t* d = s.data() + dbcell + 4;
        if (Get32(d) == 0) {
          // Room for a block to come: an empty DBCELL that INDEX already lists.
          EXPECT_EQ(Get16(s.data() + dbcell + 2), 4u);
          continue;
        }
        std::size_t first_row = dbcell - Get32(d);
        ASSERT_EQ(TypeAt(s, first_row), rt::kRow);
        std::size_t rows = (Get16(s.data() + dbcell + 2) - 4u) / 2u;
        std::size_t cell = first_row + 20;
        for (std::size_t i = 0; i < rows; ++i) {
          cell += Get16(d + 4 + 2 * i);
          std::uint16_t type = TypeAt(s, cell);
          EXPECT_TRUE(type == rt::kLabelSst || type == rt::kLabel || type == rt::kBlank ||
                      type == rt::kDbCell)
              << "row " << i << " of the block at " << dbcell << ": " << RecordName(type);
          ASSERT_EQ(TypeAt(s, first_row + 20 * i), rt::kRow);
          if (type == rt::kDbCell) continue;  // a row without cells
          EXPECT_EQ(Get16(s.data() + cell + 4), Get16(s.data() + first_row + 20 * i + 4))
              << "the cell offset of row " << i << " leads to another row";
        }
      }
    }
  }
  EXPECT_GT(indexes, 0u);
}

TEST(Offsets, IndexDbcellBoundsheetAndExtsstPointWhereTheyShould) {
  test::TempDir dir;
  auto file = dir / "d.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Language_2", "Language_3"});
  CheckOffsets(Stream(file));
  Workbook book = Workbook::Open(file);
  Sheet* sheet = book.FindSheet("Dictionary");
  for (int i = 0; i < 200; ++i) {
    std::size_t row =
        sheet->AppendRow(static_cast<std::size_t>(i % 3), "text " + std::to_string(i));
    if (i % 5 == 0) sheet->SetCellText(row, 2, "more " + std::to_string(i));
  }
  sheet->SetCellText(40, 1, "");  // a blank in the middle
  book.Save();
  CheckOffsets(Stream(file));
  EXPECT_EQ(Workbook::Open(file).FindSheet("Dictionary")->RowCount(), 201u);
}

}  // namespace
}  // namespace vt::workbook::detail
