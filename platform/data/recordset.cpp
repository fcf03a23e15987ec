#include "platform/data/recordset.h"

#include <string>

#include "platform/base/utf8.h"
#include "platform/data/ado_errors.h"
#include "platform/data/criteria.h"
#include "platform/data/table.h"

namespace vt::data {

using automation::Variant;

namespace {

// The value as the field stores it; raises an error naming the field.
Variant Coerce(const FieldDef& field, const Variant& value) {
  if (value.IsEmpty() || value.IsNull()) {
    if (!field.nullable) throw ado_errors::BadValue(field.name, "the field cannot be empty");
    return Variant::Null();
  }
  if (value.IsObject()) throw ado_errors::BadValue(field.name, "an object is not a value");
  try {
    switch (field.type) {
      case FieldType::Long:
        return Variant(value.ToLong());
      case FieldType::Text:
        return Variant(value.ToString());
      case FieldType::FixedText: {
        std::string text = value.ToString();
        while (!text.empty() && text.back() == ' ') text.pop_back();
        const std::size_t length = base::Utf8Length(text);
        if (length > field.size) {
          throw ado_errors::BadValue(field.name, "a text of " + std::to_string(length) +
                                                     " characters, the field holds " +
                                                     std::to_string(field.size));
        }
        return Variant(std::move(text));
      }
    }
  } catch (const automation::Error& error) {
    if (error.number() == ado_errors::kMultipleStep) throw;
    throw ado_errors::BadValue(field.name, error.description());
  }
  return Variant::Null();
}

}  // namespace

std::shared_ptr<Recordset> Recordset::Create(std::vector<FieldDef> fields) {
  auto table = std::make_shared<Table>();
  for (auto& field : fields) {
    if (field.name.empty()) throw ado_errors::WrongArguments("a field without a name");
    if (table->FindField(field.name)) {
      throw ado_errors::WrongArguments("two fields named '" + field.name + "'");
    }
    if (field.type == FieldType::FixedText && field.size == 0) {
      throw ado_errors::WrongArguments("fixed-length field '" + field.name + "' of length 0");
    }
    table->fields.push_back(std::move(field));
  }
  return std::shared_ptr<Recordset>(new Recordset(std::move(table)));
}

Recordset::Recordset(std::shared_ptr<Table> table) : table_(std::move(table)) {
  MoveToStart();
  RegisterMembers();
}

Recordset::~Recordset() = default;

const std::vector<FieldDef>& Recordset::Fields() const { return table_->fields; }

std::size_t Recordset::FieldIndex(std::string_view name) const {
  const auto index = table_->FindField(name);
  if (!index) throw ado_errors::ItemNotFound("field '" + std::string(name) + "'");
  return *index;
}

void Recordset::CheckOpen(std::string_view operation) const {
  if (!open_) throw ado_errors::ObjectClosed(operation);
}

std::size_t Recordset::ViewSize() const { return view_ ? view_->size() : table_->rows.size(); }

std::size_t Recordset::RowAt(std::size_t view_position) const {
  return view_ ? (*view_)[view_position] : view_position;
}

std::size_t Recordset::CurrentRow(std::string_view operation) const {
  CheckOpen(operation);
  if (place_ != Place::On || position_ >= ViewSize()) {
    throw ado_errors::NoCurrentRecord(operation);
  }
  return RowAt(position_);
}

std::size_t Recordset::CheckOrdinal(std::size_t ordinal) const {
  if (ordinal >= table_->fields.size()) {
    throw ado_errors::ItemNotFound("field ordinal " + std::to_string(ordinal) + " of " +
                                   std::to_string(table_->fields.size()) + " fields");
  }
  return ordinal;
}

Variant Recordset::GetValue(std::size_t ordinal) const {
  CheckOrdinal(ordinal);
  return table_->rows[CurrentRow("reading field '" + table_->fields[ordinal].name + "'")][ordinal]
      .value;
}

Variant Recordset::GetValue(std::string_view name) const { return GetValue(FieldIndex(name)); }

void Recordset::SetValue(std::size_t ordinal, const Variant& value) {
  CheckOrdinal(ordinal);
  const FieldDef& field = table_->fields[ordinal];
  const std::size_t row = CurrentRow("writing field '" + field.name + "'");
  Cell& cell = table_->rows[row][ordinal];
  cell.value = Coerce(field, value);
  cell.folded.reset();
}

void Recordset::SetValue(std::string_view name, const Variant& value) {
  SetValue(FieldIndex(name), value);
}

void Recordset::AddNew() {
  CheckOpen("AddNew");
  table_->rows.emplace_back(table_->fields.size());
  const std::size_t row = table_->rows.size() - 1;
  if (view_) view_->push_back(row);
  place_ = Place::On;
  position_ = ViewSize() - 1;
}

void Recordset::Update() {
  const std::size_t row = CurrentRow("Update");
  for (std::size_t i = 0; i < table_->fields.size(); ++i) {
    const FieldDef& field = table_->fields[i];
    if (!field.nullable && table_->rows[row][i].value.IsNull()) {
      throw ado_errors::BadValue(field.name, "the field cannot be empty");
    }
  }
}

void Recordset::MoveToStart() {
  place_ = ViewSize() > 0 ? Place::On : Place::After;
  position_ = 0;
}

void Recordset::MoveFirst() {
  CheckOpen("MoveFirst");
  if (ViewSize() == 0) throw ado_errors::NoCurrentRecord("MoveFirst on an empty recordset");
  place_ = Place::On;
  position_ = 0;
}

void Recordset::MoveLast() {
  CheckOpen("MoveLast");
  if (ViewSize() == 0) throw ado_errors::NoCurrentRecord("MoveLast on an empty recordset");
  place_ = Place::On;
  position_ = ViewSize() - 1;
}

void Recordset::MoveNext() {
  CheckOpen("MoveNext");
  if (Eof()) throw ado_errors::NoCurrentRecord("MoveNext past the end");
  if (place_ == Place::Before) {
    position_ = 0;
  } else {
    ++position_;
  }
  place_ = position_ < ViewSize() ? Place::On : Place::After;
}

void Recordset::MovePrevious() {
  CheckOpen("MovePrevious");
  if (Bof()) throw ado_errors::NoCurrentRecord("MovePrevious before the start");
  if (place_ == Place::After) {
    position_ = ViewSize();
  }
  if (position_ == 0) {
    place_ = Place::Before;
  } else {
    --position_;
    place_ = Place::On;
  }
}

bool Recordset::Eof() const {
  CheckOpen("EOF");
  return ViewSize() == 0 || place_ == Place::After;
}

bool Recordset::Bof() const {
  CheckOpen("BOF");
  return ViewSize() == 0 || place_ == Place::Before;
}

std::int32_t Recordset::RecordCount() const {
  CheckOpen("RecordCount");
  return static_cast<std::int32_t>(ViewSize());
}

void Recordset::ApplyFilter() {
  if (!criteria_) {
    view_.reset();
  } else {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < table_->rows.size(); ++i) {
      if (Matches(*criteria_, *table_, table_->rows[i])) rows.push_back(i);
    }
    view_ = std::move(rows);
  }
  MoveToStart();
}

void Recordset::SetFilter(std::string_view criteria) {
  CheckOpen("Filter");
  if (criteria.find_first_not_of(" \t") == std::string_view::npos) {
    ClearFilter();
    return;
  }
  criteria_ = std::make_unique<Criteria>(ParseCriteria(criteria, *table_));
  ApplyFilter();
}

void Recordset::ClearFilter() {
  CheckOpen("Filter");
  criteria_.reset();
  ApplyFilter();
}

std::string Recordset::Filter() const { return criteria_ ? criteria_->text : std::string(); }

void Recordset::FilterContains(std::string_view field, std::string_view text) {
  CheckOpen("Filter");
  criteria_ = std::make_unique<Criteria>(ContainsCriteria(FieldIndex(field), text, *table_));
  ApplyFilter();
}

std::shared_ptr<Recordset> Recordset::Clone() {
  CheckOpen("Clone");
  return std::shared_ptr<Recordset>(new Recordset(table_));
}

void Recordset::Requery() {
  CheckOpen("Requery");
  ApplyFilter();
}

void Recordset::Close() {
  CheckOpen("Close");
  open_ = false;
}

bool Recordset::IsOpen() const { return open_; }

Variant Recordset::ValueAt(std::size_t row, std::size_t ordinal) const {
  CheckOpen("reading a row");
  CheckOrdinal(ordinal);
  if (row >= ViewSize()) throw ado_errors::NoCurrentRecord("row " + std::to_string(row));
  return table_->rows[RowAt(row)][ordinal].value;
}

}  // namespace vt::data
