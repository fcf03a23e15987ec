#pragma once

#include "platform/workbook/internal/private.h"

// BIFF8 records: a 2-byte type, a 2-byte length, then the data.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/workbook/internal/bytes.h"

namespace vt::workbook::detail {

namespace rt {
inline constexpr std::uint16_t kFormula = 0x0006;
inline constexpr std::uint16_t kEof = 0x000A;
inline constexpr std::uint16_t kFilePass = 0x002F;
inline constexpr std::uint16_t kContinue = 0x003C;
inline constexpr std::uint16_t kDefColWidth = 0x0055;
inline constexpr std::uint16_t kBoundSheet = 0x0085;
inline constexpr std::uint16_t kMulRk = 0x00BD;
inline constexpr std::uint16_t kMulBlank = 0x00BE;
inline constexpr std::uint16_t kRString = 0x00D6;
inline constexpr std::uint16_t kDbCell = 0x00D7;
inline constexpr std::uint16_t kSst = 0x00FC;
inline constexpr std::uint16_t kExtSst = 0x00FF;
inline constexpr std::uint16_t kLabelSst = 0x00FD;
inline constexpr std::uint16_t kXf = 0x00E0;
inline constexpr std::uint16_t kDimensions = 0x0200;
inline constexpr std::uint16_t kBlank = 0x0201;
inline constexpr std::uint16_t kNumber = 0x0203;
inline constexpr std::uint16_t kLabel = 0x0204;
inline constexpr std::uint16_t kBoolErr = 0x0205;
inline constexpr std::uint16_t kString = 0x0207;
inline constexpr std::uint16_t kRow = 0x0208;
inline constexpr std::uint16_t kIndex = 0x020B;
inline constexpr std::uint16_t kArray = 0x0221;
inline constexpr std::uint16_t kDefaultRowHeight = 0x0225;
inline constexpr std::uint16_t kTable = 0x0236;
inline constexpr std::uint16_t kWindow2 = 0x023E;
inline constexpr std::uint16_t kRk = 0x027E;
inline constexpr std::uint16_t kBof = 0x0809;
inline constexpr std::uint16_t kShrFmla = 0x04BC;
}  // namespace rt

inline constexpr std::size_t kMaxRecordData = 8224;

// BOF: the version of the format, then the kind of substream it begins.
inline constexpr std::uint16_t kBiff8 = 0x0600;
inline constexpr std::uint16_t kGlobalsBof = 0x0005;
inline constexpr std::uint16_t kWorksheetBof = 0x0010;

// BOUNDSHEET's sheet type (macro sheets, charts and modules have others).
inline constexpr std::uint8_t kWorksheetType = 0;

// ROW's option flags: a bit the format wants always set.
inline constexpr std::uint16_t kRowAlwaysSet = 0x0100;

struct Record {
  std::uint16_t type = 0;
  std::uint16_t size = 0;
  std::size_t offset = 0;  // of the record header in the stream
  const std::uint8_t* data = nullptr;

  std::size_t End() const { return offset + 4 + size; }
};

// Walks the records of a stream from a position, never past its end.
class RecordReader {
 public:
  RecordReader(const Bytes& stream, std::size_t pos) : stream_(stream), pos_(pos) {}

  // False at the end of the stream; throws on a record cut short.
  bool Next(Record& record);
  bool PeekType(std::uint16_t& type) const;
  std::size_t Position() const { return pos_; }
  // The first record read that is longer than the format allows (reads, but
  // a save could not write such a stream back); offset SIZE_MAX when none.
  const Record& Oversized() const { return oversized_; }

 private:
  const Bytes& stream_;
  std::size_t pos_;
  Record oversized_{0, 0, SIZE_MAX, nullptr};
};

std::string RecordName(std::uint16_t type);

// The text a cell shows for a BOOLERR or formula error code ("#DIV/0!", ...).
std::string_view CellErrorText(std::uint8_t code);

// A record that holds one or more cells (LABELSST, RK, MULRK, FORMULA, ...).
bool IsCellRecord(std::uint16_t type);

void AppendRecord(Bytes& out, std::uint16_t type, const std::uint8_t* data, std::size_t size);
inline void AppendRecord(Bytes& out, std::uint16_t type, const Bytes& data) {
  AppendRecord(out, type, data.data(), data.size());
}

}  // namespace vt::workbook::detail
