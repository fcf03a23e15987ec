#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/dispatch.h"

namespace vt::host {

// A read-only collection of host objects as scripts see it: Count, Item(i)
// and For Each in the collection's order. iFix collections count from 1,
// those of the forms package from 0. Item also takes an object's Name (any
// letter case), as both hosts' collections do.
class ObjectCollection : public automation::DispatchObject {
 public:
  ObjectCollection(std::string type_name, std::int32_t first_index,
                   std::vector<automation::ObjectRef> items = {});

  std::string TypeName() const override;
  std::vector<automation::Variant> Enumerate() override;

  const std::vector<automation::ObjectRef>& items() const { return items_; }
  void Add(automation::ObjectRef item) { items_.push_back(std::move(item)); }

 private:
  automation::ObjectRef Item(const automation::Variant& index) const;

  std::string type_name_;
  std::int32_t first_index_;
  std::vector<automation::ObjectRef> items_;
};

}  // namespace vt::host
