#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/data/field.h"

namespace vt::data {

struct Table;
struct Criteria;

// An unconnected in-memory recordset, as the data-access component's
// client-side Recordset behaves for what the system uses: typed fields, rows,
// a current position, AddNew / Update, a filter, clones and requery.
//
// Values are Variants: Null for an empty cell, Long for Long fields, String
// for text fields. A fixed-length text field reads back without its padding
// (trailing blanks written into it are padding too) and refuses a value longer
// than its size in characters. A write goes straight into the shared row;
// Update checks that non-nullable fields hold a value.
//
// Clone() shares the row storage: rows appended and values written through
// one are seen through the other; each has its own position and filter (a
// clone starts unfiltered, on the first row). Without a filter a recordset
// sees every row, also those appended later through a clone; with one, it
// sees the rows that matched when the filter was set or last requeried, plus
// those it appended itself.
//
// Failures raise vt::automation::Error with the data-access component's
// numbers and descriptions, followed by what they concern.
//
// By name (late binding) it answers: Fields, Fields(index), AddNew, Update,
// MoveFirst, MoveNext, MovePrevious, MoveLast, EOF, BOF, RecordCount, Filter
// (get/put; "" or 0 clears it), Clone, Requery, Close, State.
class Recordset : public automation::DispatchObject {
 public:
  // An open, empty recordset. Field names must be unique (ignoring case).
  static std::shared_ptr<Recordset> Create(std::vector<FieldDef> fields);
  ~Recordset() override;

  std::string TypeName() const override { return "Recordset"; }

  const std::vector<FieldDef>& Fields() const;
  // The ordinal of a field, matched without regard to case.
  std::size_t FieldIndex(std::string_view name) const;

  automation::Variant GetValue(std::size_t ordinal) const;
  automation::Variant GetValue(std::string_view name) const;
  void SetValue(std::size_t ordinal, const automation::Variant& value);
  void SetValue(std::string_view name, const automation::Variant& value);

  // Appends an empty (all-Null) row and makes it the current one.
  void AddNew();
  void Update();

  void MoveFirst();
  void MoveNext();
  void MovePrevious();
  void MoveLast();
  bool Eof() const;
  bool Bof() const;
  std::int32_t RecordCount() const;

  // `Field = 'text'` or `Field LIKE '*text*'` (see Criteria); "" clears the
  // filter. Moves to the first row that matches. A bad criteria raises an
  // error naming it and leaves the filter as it was.
  void SetFilter(std::string_view criteria);
  void ClearFilter();
  // The filter's criteria text, "" when none.
  std::string Filter() const;
  // Keeps the rows whose `field` contains `text`, ignoring letter case and
  // taking every character of `text` literally.
  void FilterContains(std::string_view field, std::string_view text);

  std::shared_ptr<Recordset> Clone();
  // Applies the filter again to the rows as they are now; moves to the first.
  void Requery();
  void Close();
  bool IsOpen() const;

  // The value of a field in the `row`-th row that the recordset sees, without
  // moving (for writers that walk all rows, like CSV).
  automation::Variant ValueAt(std::size_t row, std::size_t ordinal) const;

 private:
  explicit Recordset(std::shared_ptr<Table> table);
  void RegisterMembers();

  void CheckOpen(std::string_view operation) const;
  std::size_t ViewSize() const;
  std::size_t RowAt(std::size_t view_position) const;
  std::size_t CurrentRow(std::string_view operation) const;
  std::size_t CheckOrdinal(std::size_t ordinal) const;
  void ApplyFilter();
  void MoveToStart();

  std::shared_ptr<Table> table_;
  std::unique_ptr<Criteria> criteria_;
  std::optional<std::vector<std::size_t>> view_;  // nullopt: every row of the table
  enum class Place { Before, On, After } place_ = Place::After;
  std::size_t position_ = 0;  // in the view, when place_ is On
  bool open_ = true;
};

}  // namespace vt::data
