// Reading workbooks that LibreOffice wrote, and refusing what is not one.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "platform/workbook/internal/cfb.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook {
namespace {

using test::Fixture;
using test::TempDir;

std::filesystem::path MixedOrSkip() { return Fixture("mixed.xls"); }

#define REQUIRE_FIXTURE(path) \
  if ((path).empty()) GTEST_SKIP() << "LibreOffice made no fixtures here"

TEST(ReadLibreOfficeWorkbook, AgreesWithXlrdOnEveryCell) {
  auto file = MixedOrSkip();
  REQUIRE_FIXTURE(file);
  Workbook book = Workbook::Open(file);
  nlohmann::json expected = test::XlrdDump(file);
  std::vector<std::string> names;
  for (const auto& s : expected["sheets"]) names.push_back(s["name"]);
  EXPECT_EQ(book.SheetNames(), names);
  for (const auto& s : expected["sheets"]) {
    Sheet* sheet = book.FindSheet(s["name"].get<std::string>());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->RowCount(), s["nrows"].get<std::size_t>()) << s["name"];
    std::size_t seen = 0;
    for (const auto& cell : s["cells"]) {
      std::size_t r = cell["r"], c = cell["c"];
      int type = cell["type"];
      std::string text(sheet->CellText(r, c));
      SCOPED_TRACE(s["name"].get<std::string>() + " " + std::to_string(r) + "," +
                   std::to_string(c));
      switch (type) {
        case 1:  // text
          EXPECT_EQ(text, cell["value"].get<std::string>());
          break;
        case 2:  // number (a formula's too)
        case 3:  // date, a number with a date format
          EXPECT_NEAR(std::stod(text), cell["value"].get<double>(),
                      std::fabs(cell["value"].get<double>()) * 1e-14);
          break;
        case 4:  // boolean
          EXPECT_EQ(text, cell["value"].get<int>() ? "TRUE" : "FALSE");
          break;
        case 5:  // error
          EXPECT_EQ(text.front(), '#');
          break;
        case 6:  // blank
          EXPECT_EQ(text, "");
          EXPECT_EQ(sheet->Kind(r, c), CellKind::kBlank);
          break;
      }
      ++seen;
    }
    EXPECT_EQ(seen, s["cells"].size());
  }
}

TEST(ReadLibreOfficeWorkbook, GivesTheTextsTheDictionaryNeeds) {
  auto file = MixedOrSkip();
  REQUIRE_FIXTURE(file);
  Workbook book = Workbook::Open(file);
  Sheet* sheet = book.FindSheet("DICTIONARY");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->Name(), "Dictionary");
  EXPECT_EQ(sheet->FindColumn("language_2"), 1u);
  EXPECT_EQ(sheet->FindColumn("Comment"), 3u);
  EXPECT_EQ(sheet->FindColumn("Language_9"), std::nullopt);
  EXPECT_EQ(sheet->CellText(1, 2), "开始");
  EXPECT_EQ(sheet->CellText(2, 0), "  Stop  ");
  EXPECT_EQ(sheet->CellText(3, 0), "Emoji 😀 and 𝄞");
  EXPECT_EQ(sheet->CellText(4, 0), "Operator's panel");
  EXPECT_EQ(sheet->CellText(5, 0).size(), 700u * 17);  // split across CONTINUE records
  EXPECT_EQ(sheet->CellText(6, 0), "100");
  EXPECT_EQ(sheet->CellText(6, 1), "1.5");
  EXPECT_EQ(sheet->CellText(6, 2), "0.1");
  EXPECT_FALSE(sheet->IsTextCell(6, 0));
  EXPECT_EQ(sheet->CellText(7, 3), "-4.25");
  EXPECT_EQ(sheet->CellText(9, 0), "Start now");  // a formula's cached text
  EXPECT_EQ(sheet->Kind(9, 0), CellKind::kFormula);
  EXPECT_EQ(sheet->CellText(9, 3), "#DIV/0!");
  EXPECT_EQ(sheet->CellText(10, 0), "Line one\nLine two");
  EXPECT_EQ(sheet->CellText(99, 99), "");
  EXPECT_EQ(sheet->Kind(99, 99), CellKind::kEmpty);
  auto column = sheet->ColumnTexts(0);
  ASSERT_GE(column.size(), 2u);
  EXPECT_EQ(column[1], "Start");
  EXPECT_EQ(book.FindSheet("Empty")->RowCount(), 0u);
  EXPECT_EQ(book.FindSheet("Notes")->CellText(599, 1), "Détail numéro 599 — ümlaut ß");
  EXPECT_EQ(book.FindSheet("nope"), nullptr);
}

void ExpectError(const std::filesystem::path& file, const std::string& part) {
  try {
    Workbook::Open(file);
    ADD_FAILURE() << "opened " << file;
  } catch (const Error& e) {
    std::string message = e.what();
    EXPECT_EQ(message.rfind("\"" + file.string() + "\": ", 0), 0u) << message;
    EXPECT_NE(message.find(part), std::string::npos) << message;
  }
}

TEST(ReadBadInput, NamesTheFileAndWhatIsWrong) {
  TempDir dir;
  ExpectError(dir / "missing.xls", "cannot open the workbook");
  test::WriteBytes(dir / "zip.xls", {'P', 'K', 3, 4, 20, 0, 0, 0, 8, 0});
  ExpectError(dir / "zip.xls",
              "not an Excel 97-2003 workbook: it is a zip-based file (.xlsx or .ods) saved "
              "under an .xls name");
  test::WriteBytes(dir / "html.xls", {'<', 'h', 't', 'm', 'l', '>'});
  ExpectError(dir / "html.xls", "XML or HTML");
  const std::string csv = "Language_1;Language_2\r\nStart;Avvio\r\n\xC3\x9C\tber;\r\n";
  test::WriteBytes(dir / "text.xls", std::vector<std::uint8_t>(csv.begin(), csv.end()));
  ExpectError(dir / "text.xls", "not an Excel 97-2003 workbook: it is a text file (CSV");
  test::WriteBytes(dir / "empty.xls", {});
  ExpectError(dir / "empty.xls", "not an Excel 97-2003 workbook: the file is empty");
  test::WriteBytes(dir / "binary.xls", std::vector<std::uint8_t>(1000, 0));
  ExpectError(dir / "binary.xls", "not an Excel 97-2003 workbook: not a compound file");
  ExpectError(dir.path(), "not an ordinary file");

  detail::CompoundFile other = detail::NewCompoundFile(u"Book", detail::Bytes(100, 0));
  test::WriteBytes(dir / "biff5.xls", detail::WriteCompoundFile(other));
  ExpectError(dir / "biff5.xls", "Excel 5.0/95");
  other = detail::NewCompoundFile(u"EncryptedPackage", detail::Bytes(100, 0));
  test::WriteBytes(dir / "ooxml-encrypted.xls", detail::WriteCompoundFile(other));
  ExpectError(dir / "ooxml-encrypted.xls", "password-protected");
}

detail::Bytes WorkbookStream(const std::filesystem::path& file, detail::CompoundFile& cf) {
  auto bytes = test::ReadBytes(file);
  cf = detail::ReadCompoundFile(bytes.data(), bytes.size());
  return cf.entries[cf.FindRootStream(u"Workbook")].data;
}

void WriteWithStream(const std::filesystem::path& file, detail::CompoundFile cf,
                     detail::Bytes stream) {
  cf.entries[cf.FindRootStream(u"Workbook")].data = std::move(stream);
  test::WriteBytes(file, detail::WriteCompoundFile(cf));
}

TEST(ReadBadInput, PasswordProtectedAndDamagedStreams) {
  TempDir dir;
  Workbook::CreateDictionary(dir / "base.xls", "Dictionary", {"Language_1", "Language_2"});
  detail::CompoundFile cf;
  detail::Bytes stream = WorkbookStream(dir / "base.xls", cf);

  // FILEPASS right after the globals' BOF, as an encrypting program writes it.
  detail::Bytes locked(stream.begin(), stream.begin() + 20);
  detail::Bytes filepass = {0x2F, 0x00, 0x06, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00};
  locked.insert(locked.end(), filepass.begin(), filepass.end());
  locked.insert(locked.end(), stream.begin() + 20, stream.end());
  WriteWithStream(dir / "locked.xls", cf, locked);
  ExpectError(dir / "locked.xls", "password-protected");

  WriteWithStream(dir / "cut.xls", cf, detail::Bytes(stream.begin(), stream.begin() + 200));
  ExpectError(dir / "cut.xls", "damaged");  // the globals end in mid-record or without EOF

  detail::Bytes sheet_gone = stream;
  // Point the BOUNDSHEET past the end of the stream.
  for (std::size_t at = 0; at + 4 <= sheet_gone.size();) {
    std::uint16_t type = detail::Get16(sheet_gone.data() + at);
    std::uint16_t size = detail::Get16(sheet_gone.data() + at + 2);
    if (type == detail::rt::kBoundSheet) detail::Put32(sheet_gone.data() + at + 4, 0x7FFFFFF0);
    at += 4u + size;
  }
  WriteWithStream(dir / "gone.xls", cf, sheet_gone);
  ExpectError(dir / "gone.xls", "begins past the end");
}

TEST(ReadBadInput, EveryTruncationIsAnErrorNotACrash) {
  auto file = MixedOrSkip();
  REQUIRE_FIXTURE(file);
  TempDir dir;
  auto bytes = test::ReadBytes(file);
  for (std::size_t cut : {std::size_t{511}, std::size_t{512}, std::size_t{4096}, bytes.size() / 3,
                          bytes.size() / 2, bytes.size() - 513}) {
    test::WriteBytes(
        dir / "cut.xls",
        std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
    EXPECT_THROW(Workbook::Open(dir / "cut.xls"), Error) << cut;
  }
}

}  // namespace
}  // namespace vt::workbook
