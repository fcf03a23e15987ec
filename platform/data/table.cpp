#include "platform/data/table.h"

#include "platform/data/fold.h"

namespace vt::data {

std::optional<std::size_t> Table::FindField(std::string_view name) const {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (EqualIgnoringCase(fields[i].name, name)) return i;
  }
  return std::nullopt;
}

}  // namespace vt::data
