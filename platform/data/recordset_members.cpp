// The recordset's members by name, for the host's scripts.
#include <cmath>
#include <string>

#include "platform/automation/error.h"
#include "platform/data/ado_errors.h"
#include "platform/data/recordset.h"

namespace vt::data {

using automation::Variant;

namespace {

// The data-access component's type numbers.
std::int32_t AdoType(FieldType type) {
  switch (type) {
    case FieldType::FixedText:
      return 129;  // adChar
    case FieldType::Long:
      return 3;  // adInteger
    case FieldType::Text:
      return 202;  // adVarWChar
  }
  return 0;
}

// A field of a recordset; like the component's Field, it reads and writes the
// recordset's current row at the time of each call.
class FieldObject : public automation::DispatchObject {
 public:
  FieldObject(std::shared_ptr<Recordset> recordset, std::size_t ordinal)
      : recordset_(std::move(recordset)), ordinal_(ordinal) {
    AddProperty(
        "Value", [this](std::span<Variant>) { return recordset_->GetValue(ordinal_); },
        [this](std::span<Variant>, const Variant& value) {
          recordset_->SetValue(ordinal_, value);
        });
    AddProperty("Name", [this](std::span<Variant>) { return Variant(Def().name); });
    AddProperty("Type", [this](std::span<Variant>) { return Variant(AdoType(Def().type)); });
    AddProperty("DefinedSize", [this](std::span<Variant>) {
      return Variant(static_cast<std::int32_t>(Def().size));
    });
  }
  std::string TypeName() const override { return "Field"; }

 private:
  const FieldDef& Def() const { return recordset_->Fields()[ordinal_]; }
  std::shared_ptr<Recordset> recordset_;
  std::size_t ordinal_;
};

// The field at `index`: a number is an ordinal, a text a name.
std::size_t Resolve(const Recordset& recordset, const Variant& index) {
  switch (index.type()) {
    case automation::VarType::String:
      return recordset.FieldIndex(index.ToString());
    case automation::VarType::Integer:
    case automation::VarType::Long:
    case automation::VarType::Double:
    case automation::VarType::Boolean: {
      const double number = index.ToDouble();
      if (number < 0 || number != std::floor(number) ||
          number >= static_cast<double>(recordset.Fields().size())) {
        throw ado_errors::ItemNotFound("field ordinal " + index.ToString() + " of " +
                                       std::to_string(recordset.Fields().size()) + " fields");
      }
      return static_cast<std::size_t>(number);
    }
    default:
      throw ado_errors::WrongArguments("a field is named by its name or its ordinal");
  }
}

class FieldsObject : public automation::DispatchObject {
 public:
  explicit FieldsObject(std::shared_ptr<Recordset> recordset) : recordset_(std::move(recordset)) {
    AddProperty("Count", [this](std::span<Variant>) {
      return Variant(static_cast<std::int32_t>(recordset_->Fields().size()));
    });
    AddProperty("Item", [this](std::span<Variant> args) {
      if (args.size() != 1) throw automation::errors::InvalidCall("Fields.Item takes one index");
      return Variant(automation::ObjectRef(
          std::make_shared<FieldObject>(recordset_, Resolve(*recordset_, args[0]))));
    });
  }
  std::string TypeName() const override { return "Fields"; }
  std::vector<Variant> Enumerate() override {
    std::vector<Variant> items;
    for (std::size_t i = 0; i < recordset_->Fields().size(); ++i) {
      items.emplace_back(automation::ObjectRef(std::make_shared<FieldObject>(recordset_, i)));
    }
    return items;
  }

 private:
  std::shared_ptr<Recordset> recordset_;
};

void NoArguments(std::span<Variant> args, std::string_view member) {
  if (!args.empty()) {
    throw automation::errors::InvalidCall(std::string(member) + " takes no arguments");
  }
}

}  // namespace

void Recordset::RegisterMembers() {
  // Members run only while the object lives, so `this` is safe to capture; the
  // child objects they return keep the recordset alive themselves.
  auto self = [this] { return std::static_pointer_cast<Recordset>(shared_from_this()); };

  AddProperty("Fields", [this, self](std::span<Variant> args) -> Variant {
    if (args.empty()) return automation::ObjectRef(std::make_shared<FieldsObject>(self()));
    if (args.size() != 1) throw automation::errors::InvalidCall("Fields takes one index");
    return automation::ObjectRef(std::make_shared<FieldObject>(self(), Resolve(*this, args[0])));
  });
  // AddNew and Update take an optional field and value to set on the row.
  auto set_optional = [this](std::span<Variant> args, std::string_view member) {
    if (args.empty()) return;
    if (args.size() != 2) {
      throw automation::errors::InvalidCall(std::string(member) + " takes a field and a value");
    }
    SetValue(Resolve(*this, args[0]), args[1]);
  };
  AddMethod("AddNew", [this, set_optional](std::span<Variant> args) {
    AddNew();
    set_optional(args, "AddNew");
    return Variant();
  });
  AddMethod("Update", [this, set_optional](std::span<Variant> args) {
    set_optional(args, "Update");
    Update();
    return Variant();
  });
  AddMethod("MoveFirst", [this](std::span<Variant> args) {
    NoArguments(args, "MoveFirst");
    MoveFirst();
    return Variant();
  });
  AddMethod("MoveNext", [this](std::span<Variant> args) {
    NoArguments(args, "MoveNext");
    MoveNext();
    return Variant();
  });
  AddMethod("MovePrevious", [this](std::span<Variant> args) {
    NoArguments(args, "MovePrevious");
    MovePrevious();
    return Variant();
  });
  AddMethod("MoveLast", [this](std::span<Variant> args) {
    NoArguments(args, "MoveLast");
    MoveLast();
    return Variant();
  });
  AddProperty("EOF", [this](std::span<Variant>) { return Variant(Eof()); });
  AddProperty("BOF", [this](std::span<Variant>) { return Variant(Bof()); });
  AddProperty("RecordCount", [this](std::span<Variant>) { return Variant(RecordCount()); });
  AddProperty(
      "Filter",
      [this](std::span<Variant>) {
        CheckOpen("Filter");
        const std::string text = Filter();
        return text.empty() ? Variant(std::int32_t{0}) : Variant(text);
      },
      [this](std::span<Variant>, const Variant& value) {
        if (value.type() == automation::VarType::String) {
          SetFilter(value.ToString());
        } else if (value.IsEmpty() || (value.IsNumeric() && value.ToDouble() == 0)) {
          ClearFilter();
        } else {
          throw ado_errors::WrongArguments("Filter takes a criteria text, or 0 to clear it");
        }
      });
  AddMethod("Clone",
            [this](std::span<Variant>) { return Variant(automation::ObjectRef(Clone())); });
  AddMethod("Requery", [this](std::span<Variant>) {
    Requery();
    return Variant();
  });
  AddMethod("Close", [this](std::span<Variant>) {
    Close();
    return Variant();
  });
  AddProperty("State", [this](std::span<Variant>) {
    return Variant(std::int32_t{IsOpen() ? 1 : 0});  // adStateOpen, adStateClosed
  });
}

}  // namespace vt::data
