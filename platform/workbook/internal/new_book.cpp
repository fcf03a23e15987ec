#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

namespace {

constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kPrecision = 0x000E;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kWsBool = 0x0081;

// WINDOW2's options.
constexpr std::uint16_t kShowGridlines = 0x0002;
constexpr std::uint16_t kShowHeadings = 0x0004;
constexpr std::uint16_t kShowZeros = 0x0010;
constexpr std::uint16_t kDefaultGridColour = 0x0020;
constexpr std::uint16_t kShowOutline = 0x0080;
constexpr std::uint16_t kSelected = 0x0200;
constexpr std::uint16_t kShown = 0x0400;
constexpr std::uint16_t kWindowLook =
    kShowGridlines | kShowHeadings | kShowZeros | kDefaultGridColour | kShowOutline;

// The XF of the cells: the first after the 15 style XFs.
constexpr std::uint16_t kCellXf = 15;

Bytes Of(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }

Bytes Bof(std::uint16_t kind) {
  Bytes b;
  Append16(b, kBiff8);
  Append16(b, kind);
  Append16(b, 0x0DBB);  // build and year of the release that set BIFF8
  Append16(b, 0x07CC);
  Append32(b, 0);
  Append32(b, 0x0006);  // lowest version that can read the file: Excel 97
  return b;
}

Bytes Font() {
  Bytes b =
      Of({0xC8, 0x00, 0x00, 0x00, 0xFF, 0x7F, 0x90, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
  const char name[] = "Arial";
  b.push_back(sizeof name - 1);
  b.push_back(0);
  b.insert(b.end(), name, name + sizeof name - 1);
  return b;
}

Bytes Window2(std::uint16_t options) {
  Bytes b(18, 0);
  Put16(b.data(), options);
  b[6] = 0x40;  // the gridlines in the system window colour
  return b;
}

Bytes Xf(bool style) {
  Bytes b = Of({0x00, 0x00, 0x00, 0x00, 0xF5, 0xFF, 0x20, 0x00, 0x00, 0x00,
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x20});
  if (!style) {
    b[4] = 0x01;  // a cell format (locked) whose parent is the Normal style
    b[5] = 0x00;
  }
  return b;
}

}  // namespace

Bytes BoundSheetData(std::u16string_view name) {
  Bytes bs = Of({0, 0, 0, 0, 0x00, 0x00});
  const bool high = BeyondLatin1(name);
  bs.push_back(static_cast<std::uint8_t>(name.size()));
  bs.push_back(CharsFlag(high));
  AppendChars(bs, name, high);
  return bs;
}

Bytes NewWorksheetRecords() {
  Bytes s;
  AppendRecord(s, rt::kBof, Bof(kWorksheetBof));
  AppendRecord(s, rt::kIndex, Bytes(16, 0));
  AppendRecord(s, rt::kDefaultRowHeight, Of({0x00, 0x00, 0xFF, 0x00}));
  AppendRecord(s, kWsBool, Of({0xC1, 0x04}));
  AppendRecord(s, rt::kDefColWidth, Of({0x08, 0x00}));
  AppendRecord(s, rt::kDimensions, Bytes(14, 0));
  // Neither selected nor shown: the workbook's own selected sheet stays so.
  AppendRecord(s, rt::kWindow2, Window2(kWindowLook));
  AppendRecord(s, rt::kEof, nullptr, 0);
  return s;
}

namespace {

std::u16string CheckedSheetName(std::string_view sheet_name) {
  std::u16string name;
  if (!Utf8ToUtf16(sheet_name, name)) throw FormatError("the sheet name is not UTF-8 text");
  if (name.empty() || name.size() > 31 || name.find_first_of(u"[]:*?/\\") != std::u16string::npos) {
    throw FormatError("\"" + std::string(sheet_name) +
                      "\" is not a valid sheet name (1 to 31 characters, none of []:*?/\\)");
  }
  return name;
}

// The column names, checked, as the shared string table.
SharedStrings HeaderStrings(const std::vector<std::string>& headers) {
  if (headers.size() > kMaxColumns) {
    throw FormatError(std::to_string(headers.size()) +
                      " columns: a sheet holds at most 256 columns");
  }
  SharedStrings sst;
  for (const std::string& h : headers) {
    std::u16string units;
    if (!Utf8ToUtf16(h, units)) throw FormatError("a column name is not UTF-8 text");
    if (units.size() > kMaxTextUnits) {
      throw FormatError("a column name is longer than the 32,767 characters a cell holds");
    }
    sst.texts.push_back(h);
  }
  sst.total_refs = static_cast<std::uint32_t>(headers.size());
  return sst;
}

// The workbook globals of one sheet `name`; returns where its BOUNDSHEET lies.
std::size_t AppendGlobals(Bytes& s, std::u16string_view name, const SharedStrings& sst) {
  AppendRecord(s, rt::kBof, Bof(kGlobalsBof));
  AppendRecord(s, kCodePage, Of({0xB0, 0x04}));  // UTF-16
  AppendRecord(s, kWindow1,
               Of({0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x20, 0x38, 0x00, 0x00, 0x00, 0x00,
                   0x00, 0x01, 0x00, 0x58, 0x02}));
  AppendRecord(s, kDateMode, Of({0x00, 0x00}));
  AppendRecord(s, kPrecision, Of({0x01, 0x00}));
  for (int i = 0; i < 4; ++i) AppendRecord(s, kFont, Font());
  for (int i = 0; i < 15; ++i) AppendRecord(s, rt::kXf, Xf(true));
  AppendRecord(s, rt::kXf, Xf(false));
  AppendRecord(s, kStyle, Of({0x00, 0x80, 0x00, 0xFF}));
  const std::size_t boundsheet = s.size();
  AppendRecord(s, rt::kBoundSheet, BoundSheetData(name));
  WriteSst(sst, s);
  AppendRecord(s, rt::kEof, nullptr, 0);
  return boundsheet;
}

// The first row, the column names (shared strings 0 to `columns` - 1), as
// one block of the cell table; the INDEX record at `index` points at it.
void AppendHeaderRow(Bytes& s, std::size_t columns, std::size_t index) {
  const std::size_t row_at = s.size();
  Bytes row;
  Append16(row, 0);
  Append16(row, 0);
  Append16(row, static_cast<std::uint32_t>(columns));
  Append16(row, 0x00FF);  // the default height
  Append32(row, 0);
  Append16(row, kRowAlwaysSet);
  Append16(row, kCellXf);
  AppendRecord(s, rt::kRow, row);
  const std::size_t first_cell = s.size();
  for (std::size_t c = 0; c < columns; ++c) {
    Bytes cell;
    Append16(cell, 0);
    Append16(cell, static_cast<std::uint32_t>(c));
    Append16(cell, kCellXf);
    Append32(cell, static_cast<std::uint32_t>(c));
    AppendRecord(s, rt::kLabelSst, cell);
  }
  const std::size_t dbcell = s.size();
  Bytes db;
  Append32(db, static_cast<std::uint32_t>(dbcell - row_at));
  Append16(db, static_cast<std::uint32_t>(first_cell - (row_at + 20)));
  AppendRecord(s, rt::kDbCell, db);
  Put32(s.data() + index + 4 + 8, 1);
  Put32(s.data() + index + 4 + 16, static_cast<std::uint32_t>(dbcell));
}

// The sheet, shown and selected: its column names in the first row.
void AppendSheet(Bytes& s, std::size_t columns) {
  const bool any = columns != 0;
  AppendRecord(s, rt::kBof, Bof(kWorksheetBof));
  const std::size_t index = s.size();
  AppendRecord(s, rt::kIndex, Bytes(any ? 20 : 16, 0));
  AppendRecord(s, rt::kDefaultRowHeight, Of({0x00, 0x00, 0xFF, 0x00}));
  AppendRecord(s, kWsBool, Of({0xC1, 0x04}));
  const std::size_t defcol = s.size();
  AppendRecord(s, rt::kDefColWidth, Of({0x08, 0x00}));
  Bytes dims;
  Append32(dims, 0);
  Append32(dims, any ? 1 : 0);
  Append16(dims, 0);
  Append16(dims, static_cast<std::uint32_t>(columns));
  Append16(dims, 0);
  AppendRecord(s, rt::kDimensions, dims);
  Put32(s.data() + index + 4 + 12, static_cast<std::uint32_t>(defcol));
  if (any) AppendHeaderRow(s, columns, index);
  AppendRecord(s, rt::kWindow2, Window2(kWindowLook | kSelected | kShown));
  AppendRecord(s, rt::kEof, nullptr, 0);
}

}  // namespace

Bytes NewDictionaryFile(std::string_view sheet_name, const std::vector<std::string>& headers) {
  const std::u16string name = CheckedSheetName(sheet_name);
  const SharedStrings sst = HeaderStrings(headers);
  Bytes s;
  const std::size_t boundsheet = AppendGlobals(s, name, sst);
  Put32(s.data() + boundsheet + 4, static_cast<std::uint32_t>(s.size()));
  AppendSheet(s, headers.size());
  return WriteCompoundFile(NewCompoundFile(u"Workbook", std::move(s)));
}

}  // namespace vt::workbook::detail
