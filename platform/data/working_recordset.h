#pragma once

#include <cstddef>
#include <memory>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace vt::data {

// The rows of a caller's recordset, worked in place through a clone of it:
// the end test, a field read and written by its ordinal, the row saved, the
// next row, and a clone of the result. A clone shares its rows with the
// recordset it was made from, so the caller's recordset shows every value
// written, and the clones are of the caller's kind. One of ours is worked
// directly; a recordset of any other kind (the data-access component's, or
// one made by another module's copy of this code) through exactly those of its
// own members, by name: Clone, EOF, Fields(i).Value, Update, MoveNext.
class WorkingRecordset {
 public:
  // A clone of `recordset`. No object: error 91; an object whose type name
  // is not "Recordset": Type mismatch; a recordset that cannot be cloned
  // raises its own error.
  static std::unique_ptr<WorkingRecordset> CloneOf(const automation::ObjectRef& recordset);

  virtual ~WorkingRecordset() = default;

  // The working recordset itself.
  virtual automation::ObjectRef Object() const = 0;
  virtual bool Eof() = 0;
  virtual automation::Variant Value(std::size_t ordinal) = 0;
  virtual void SetValue(std::size_t ordinal, const automation::Variant& value) = 0;
  virtual void Update() = 0;
  virtual void MoveNext() = 0;
  // A new clone of the working recordset.
  virtual automation::ObjectRef Clone() = 0;
};

}  // namespace vt::data
