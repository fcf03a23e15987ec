#include "platform/data/ado_errors.h"

#include <string>

namespace vt::data::ado_errors {

namespace {
automation::Error Make(std::int32_t number, std::string_view text, std::string_view detail) {
  std::string description(text);
  if (!detail.empty()) description.append(" (").append(detail).append(")");
  return automation::Error(number, description);
}
}  // namespace

automation::Error WrongArguments(std::string_view detail) {
  return Make(kWrongArguments,
              "Arguments are of the wrong type, are out of acceptable range, or are in conflict "
              "with one another.",
              detail);
}

automation::Error NoCurrentRecord(std::string_view operation) {
  return Make(kNoCurrentRecord,
              "Either BOF or EOF is True, or the current record has been deleted. Requested "
              "operation requires a current record.",
              operation);
}

automation::Error ItemNotFound(std::string_view item) {
  return Make(kItemNotFound,
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.",
              item);
}

automation::Error ObjectClosed(std::string_view operation) {
  return Make(kObjectClosed, "Operation is not allowed when the object is closed.", operation);
}

automation::Error BadValue(std::string_view field, std::string_view detail) {
  return Make(kMultipleStep, "Multiple-step operation generated errors. Check each status value.",
              "field '" + std::string(field) + "': " + std::string(detail));
}

}  // namespace vt::data::ado_errors
