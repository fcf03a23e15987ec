#pragma once

#include <memory>

#include "platform/automation/dispatch.h"
#include "platform/data/recordset.h"

namespace vt::data {

// `object` as one of our recordsets: itself when it is one; a recordset of
// another kind (the data-access component's, or one made by another module's
// copy of this code) is read by name into a new one with the same fields
// (Name, Type, DefinedSize) and rows, and left on its first row. A copy: what
// is written to it stays there (WorkingRecordset works rows in place). An object that is no
// recordset is "Type mismatch"; no object "Object variable or With block variable not set".
std::shared_ptr<Recordset> RecordsetOf(const automation::ObjectRef& object);

}  // namespace vt::data
