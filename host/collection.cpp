#include "host/collection.h"

#include <utility>

#include "platform/automation/error.h"
#include "platform/base/ascii.h"

namespace vt::host {
namespace {

using automation::Variant;

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return base::EqualsIgnoringAsciiCase(a, b);
}

}  // namespace

ObjectCollection::ObjectCollection(std::string type_name, std::int32_t first_index,
                                   std::vector<automation::ObjectRef> items)
    : type_name_(std::move(type_name)), first_index_(first_index), items_(std::move(items)) {
  AddProperty("Count", [this](std::span<Variant>) {
    return Variant(static_cast<std::int32_t>(items_.size()));
  });
  AddMethod("Item", [this](std::span<Variant> args) {
    if (args.size() != 1) throw automation::errors::InvalidCall("Item takes one index");
    return Variant(Item(args[0]));
  });
}

std::string ObjectCollection::TypeName() const { return type_name_; }

std::vector<Variant> ObjectCollection::Enumerate() { return {items_.begin(), items_.end()}; }

automation::ObjectRef ObjectCollection::Item(const Variant& index) const {
  if (index.type() == automation::VarType::String && !index.IsNumeric()) {
    const std::string name = index.ToString();
    for (const auto& item : items_) {
      if (SameTextIgnoringCase(automation::Get(item, "Name").ToString(), name)) return item;
    }
    throw automation::errors::SubscriptOutOfRange();
  }
  const std::int64_t at = std::int64_t{index.ToLong()} - first_index_;
  if (at < 0 || at >= static_cast<std::int64_t>(items_.size())) {
    throw automation::errors::SubscriptOutOfRange();
  }
  return items_[static_cast<std::size_t>(at)];
}

}  // namespace vt::host
