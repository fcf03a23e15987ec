#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"
#include "platform/data/field.h"

namespace vt::data {

// One stored value with its case-folded text, computed on first comparison and
// dropped when the value changes.
struct Cell {
  automation::Variant value = automation::Variant::Null();
  mutable std::optional<std::string> folded;
};

// The rows that a recordset and all its clones share. Rows are only ever
// appended, so a row's index never changes.
struct Table {
  std::vector<FieldDef> fields;
  std::vector<std::vector<Cell>> rows;

  // The field's ordinal, matched without regard to case, or nullopt.
  std::optional<std::size_t> FindField(std::string_view name) const;
};

}  // namespace vt::data
