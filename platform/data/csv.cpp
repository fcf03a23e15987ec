#include "platform/data/csv.h"

#include <vector>

#include "platform/base/utf8.h"
#include "platform/data/fold.h"
#include "platform/system/env.h"

namespace vt::data {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::size_t LineOf(std::string_view text, std::size_t offset) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
  }
  return line;
}

struct Record {
  std::vector<std::string> fields;
  std::size_t line = 0;  // where it begins
};

class Reader {
 public:
  Reader(std::string_view text, std::string_view source) : text_(text), source_(source) {}

  // The next non-empty record, or false at the end of the text.
  bool Next(Record& record) {
    while (at_ < text_.size() && AtLineEnd()) SkipLineEnd();  // empty lines
    if (at_ >= text_.size()) return false;
    record.fields.clear();
    record.line = line_;
    for (;;) {
      record.fields.push_back(Field());
      if (at_ >= text_.size()) return true;
      if (text_[at_] == ',') {
        ++at_;
        continue;
      }
      SkipLineEnd();
      return true;
    }
  }

 private:
  [[noreturn]] void Fail(std::size_t line, const std::string& problem) const {
    throw CsvError(std::string(source_), line, problem);
  }

  bool AtLineEnd() const { return text_[at_] == '\n' || text_[at_] == '\r'; }

  void SkipLineEnd() {
    if (text_[at_] == '\r') ++at_;
    if (at_ < text_.size() && text_[at_] == '\n') ++at_;
    ++line_;
  }

  std::string Field() {
    if (at_ < text_.size() && text_[at_] == '"') return Quoted();
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] != ',' && !AtLineEnd()) {
      if (text_[at_] == '"') {
        Fail(line_, "a quote inside a field that does not begin with one (column " +
                        std::to_string(Column(at_)) + ")");
      }
      ++at_;
    }
    return std::string(text_.substr(start, at_ - start));
  }

  std::string Quoted() {
    const std::size_t opened_line = line_;
    ++at_;
    std::string value;
    for (;;) {
      if (at_ >= text_.size()) {
        Fail(opened_line, "the quoted field that begins here is never closed");
      }
      const char c = text_[at_++];
      if (c == '"') {
        if (at_ < text_.size() && text_[at_] == '"') {
          value += '"';
          ++at_;
          continue;
        }
        if (at_ < text_.size() && text_[at_] != ',' && !AtLineEnd()) {
          Fail(line_, "text after the closing quote of a field (column " +
                          std::to_string(Column(at_)) + ")");
        }
        return value;
      }
      if (c == '\n') ++line_;
      value += c;
    }
  }

  std::size_t Column(std::size_t offset) const {
    const auto line_start = text_.rfind('\n', offset == 0 ? 0 : offset - 1);
    const std::size_t begin = line_start == std::string_view::npos ? 0 : line_start + 1;
    return base::Utf8Length(text_.substr(begin, offset - begin)) + 1;
  }

  std::string_view text_;
  std::string_view source_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
};

void AppendField(std::string& out, const automation::Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return;
  const std::string text = value.ToString();
  // A leading byte-order mark would be taken for the file's own and dropped.
  if (text.find_first_of(",\"\r\n") == std::string::npos && !text.starts_with(kBom)) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

CsvError::CsvError(std::string source, std::size_t line, const std::string& problem)
    : std::runtime_error(source + ": line " + std::to_string(line) + ": " + problem), line_(line) {}

std::shared_ptr<Recordset> ParseCsv(std::string_view text, std::string_view source) {
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  if (const auto bad = base::FindInvalidUtf8(text)) {
    throw CsvError(std::string(source), LineOf(text, *bad),
                   "not UTF-8 text (byte " + std::to_string(*bad + 1) + ")");
  }
  Reader reader(text, source);
  Record header;
  if (!reader.Next(header)) throw CsvError(std::string(source), 1, "no header row");
  std::vector<FieldDef> fields;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string& name = header.fields[i];
    if (name.empty()) {
      throw CsvError(std::string(source), header.line,
                     "column " + std::to_string(i + 1) + " of the header has no name");
    }
    for (const auto& earlier : fields) {
      if (EqualIgnoringCase(earlier.name, name)) {
        throw CsvError(std::string(source), header.line,
                       "the header names the column '" + name + "' twice");
      }
    }
    fields.push_back(FieldDef::Text(name));
  }
  auto recordset = Recordset::Create(std::move(fields));
  Record record;
  while (reader.Next(record)) {
    if (record.fields.size() != header.fields.size()) {
      throw CsvError(std::string(source), record.line,
                     std::to_string(record.fields.size()) + " fields where the header has " +
                         std::to_string(header.fields.size()));
    }
    recordset->AddNew();
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      recordset->SetValue(i, automation::Variant(std::move(record.fields[i])));
    }
    recordset->Update();
  }
  recordset->Requery();  // back to the first row
  return recordset;
}

std::string FormatCsv(const Recordset& recordset) {
  std::string out;
  const auto& fields = recordset.Fields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    AppendField(out, automation::Variant(fields[i].name));
  }
  out += "\r\n";
  const auto rows = static_cast<std::size_t>(recordset.RecordCount());
  for (std::size_t row = 0; row < rows; ++row) {
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out += ',';
      AppendField(out, recordset.ValueAt(row, i));
    }
    // An empty line is skipped when read: a row of one empty field is quoted.
    if (out.size() == start) out += "\"\"";
    out += "\r\n";
  }
  return out;
}

std::shared_ptr<Recordset> LoadCsv(const std::string& path) {
  return ParseCsv(system::CurrentEnv().ReadFile(path), path);
}

void SaveCsv(const Recordset& recordset, const std::string& path) {
  system::CurrentEnv().WriteFileAtomic(path, FormatCsv(recordset));
}

}  // namespace vt::data
