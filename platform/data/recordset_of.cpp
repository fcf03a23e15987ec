#include "platform/data/recordset_of.h"

#include <string>
#include <vector>

#include "platform/automation/error.h"

namespace vt::data {
namespace {

using automation::Variant;

FieldDef DefOf(const automation::ObjectRef& field) {
  std::string name = automation::Get(field, "Name").ToString();
  switch (automation::Get(field, "Type").ToLong()) {
    case 3:  // adInteger
      return FieldDef::Long(std::move(name));
    case 129: {  // adChar
      const std::int32_t size = automation::Get(field, "DefinedSize").ToLong();
      return FieldDef::FixedText(std::move(name), static_cast<std::size_t>(size < 0 ? 0 : size));
    }
    default:
      return FieldDef::Text(std::move(name));
  }
}

}  // namespace

std::shared_ptr<Recordset> RecordsetOf(const automation::ObjectRef& object) {
  if (!object) throw automation::errors::ObjectNotSet();
  if (auto ours = std::dynamic_pointer_cast<Recordset>(object)) return ours;
  if (automation::TypeNameOf(object) != "Recordset") throw automation::errors::TypeMismatch();

  const automation::ObjectRef fields = automation::Get(object, "Fields").ToObject();
  const std::int32_t count = automation::Get(fields, "Count").ToLong();
  std::vector<automation::ObjectRef> items;
  std::vector<FieldDef> defs;
  for (std::int32_t i = 0; i < count; ++i) {
    items.push_back(automation::Get(fields, "Item", {Variant(i)}).ToObject());
    defs.push_back(DefOf(items.back()));
  }
  auto copy = Recordset::Create(std::move(defs));
  const bool empty =
      automation::Get(object, "EOF").ToBoolean() && automation::Get(object, "BOF").ToBoolean();
  if (!empty) automation::Call(object, "MoveFirst", {});
  while (!automation::Get(object, "EOF").ToBoolean()) {
    copy->AddNew();
    for (std::size_t i = 0; i < items.size(); ++i) {
      copy->SetValue(i, automation::Get(items[i], "Value"));
    }
    copy->Update();
    automation::Call(object, "MoveNext", {});
  }
  if (!empty) automation::Call(object, "MoveFirst", {});
  if (!copy->Eof() || !copy->Bof()) copy->MoveFirst();
  return copy;
}

}  // namespace vt::data
