#include "platform/workbook/internal/records.h"

namespace vt::workbook::detail {

bool RecordReader::Next(Record& record) {
  if (pos_ >= stream_.size()) return false;
  if (stream_.size() - pos_ < 4) {
    throw FormatError("a record header at stream offset " + Hex(pos_) + " is cut short");
  }
  const std::uint8_t* p = stream_.data() + pos_;
  record.type = Get16(p);
  record.size = Get16(p + 2);
  record.offset = pos_;
  record.data = p + 4;
  if (stream_.size() - pos_ - 4 < record.size) {
    throw FormatError("record " + RecordName(record.type) + " at stream offset " + Hex(pos_) +
                      " runs past the end of the stream");
  }
  if (record.size > kMaxRecordData && oversized_.offset == SIZE_MAX) oversized_ = record;
  pos_ += 4 + std::size_t{record.size};
  return true;
}

bool RecordReader::PeekType(std::uint16_t& type) const {
  if (pos_ >= stream_.size() || stream_.size() - pos_ < 4) return false;
  type = Get16(stream_.data() + pos_);
  return true;
}

std::string RecordName(std::uint16_t type) {
  switch (type) {
    case rt::kFormula:
      return "FORMULA";
    case rt::kEof:
      return "EOF";
    case rt::kContinue:
      return "CONTINUE";
    case rt::kBoundSheet:
      return "BOUNDSHEET";
    case rt::kMulRk:
      return "MULRK";
    case rt::kMulBlank:
      return "MULBLANK";
    case rt::kRString:
      return "RSTRING";
    case rt::kDbCell:
      return "DBCELL";
    case rt::kSst:
      return "SST";
    case rt::kExtSst:
      return "EXTSST";
    case rt::kLabelSst:
      return "LABELSST";
    case rt::kDimensions:
      return "DIMENSIONS";
    case rt::kBlank:
      return "BLANK";
    case rt::kNumber:
      return "NUMBER";
    case rt::kLabel:
      return "LABEL";
    case rt::kBoolErr:
      return "BOOLERR";
    case rt::kString:
      return "STRING";
    case rt::kRow:
      return "ROW";
    case rt::kIndex:
      return "INDEX";
    case rt::kRk:
      return "RK";
    case rt::kBof:
      return "BOF";
    default:
      return Hex(type);
  }
}

std::string_view CellErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#N/A";
  }
}

bool IsCellRecord(std::uint16_t type) {
  switch (type) {
    case rt::kLabelSst:
    case rt::kLabel:
    case rt::kRString:
    case rt::kRk:
    case rt::kMulRk:
    case rt::kNumber:
    case rt::kFormula:
    case rt::kBlank:
    case rt::kMulBlank:
    case rt::kBoolErr:
      return true;
    default:
      return false;
  }
}

void AppendRecord(Bytes& out, std::uint16_t type, const std::uint8_t* data, std::size_t size) {
  Append16(out, type);
  Append16(out, static_cast<std::uint32_t>(size));
  if (size) AppendBytes(out, data, size);
}

}  // namespace vt::workbook::detail
