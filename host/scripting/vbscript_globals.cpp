#include "host/scripting/vbscript_globals.h"

#include <cstdint>
#include <limits>
#include <ostream>
#include <utility>

#include "host/forms/user_form.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/csv.h"
#include "platform/data/recordset_of.h"
#include "platform/ui/msgbox.h"

namespace vt::host::scripting {
namespace {

using automation::Variant;
namespace errors = automation::errors;

void CheckCount(std::span<Variant> args, std::size_t least, std::size_t most,
                std::string_view name) {
  if (args.size() < least || args.size() > most) {
    throw errors::InvalidCall(std::string(name) + " takes " + std::to_string(least) +
                              (least == most ? "" : " to " + std::to_string(most)) +
                              (most == 1 ? " argument" : " arguments") + ", not " +
                              std::to_string(args.size()));
  }
}

// An omitted argument arrives as Empty.
std::string TextOr(std::span<Variant> args, std::size_t i, std::string fallback = {}) {
  return i < args.size() && !args[i].IsEmpty() ? args[i].ToString() : std::move(fallback);
}

// The script's arguments: Count, Item(i) from 0, For Each.
class ScriptArguments : public automation::DispatchObject {
 public:
  explicit ScriptArguments(std::vector<std::string> values) : values_(std::move(values)) {
    AddProperty("Count", [this](std::span<Variant>) {
      return Variant(static_cast<std::int32_t>(values_.size()));
    });
    AddMethod("Item", [this](std::span<Variant> args) {
      CheckCount(args, 1, 1, "Arguments.Item");
      return Item(args[0]);
    });
  }
  std::string TypeName() const override { return "Arguments"; }
  std::vector<Variant> Enumerate() override { return {values_.begin(), values_.end()}; }

  Variant Item(const Variant& index) const {
    const std::int32_t i = index.ToLong();
    if (i < 0 || static_cast<std::size_t>(i) >= values_.size()) {
      throw automation::Error(errors::kSubscriptOutOfRange,
                              "Subscript out of range: Arguments(" + std::to_string(i) +
                                  "), the script has " + std::to_string(values_.size()) +
                                  " arguments");
    }
    return Variant(values_[static_cast<std::size_t>(i)]);
  }

 private:
  std::vector<std::string> values_;
};

}  // namespace

HostGlobals::HostGlobals(std::ostream& out, std::vector<std::string> arguments)
    : out_(out),
      arguments_(std::make_shared<ScriptArguments>(std::move(arguments))),
      user_forms_(std::make_shared<ObjectCollection>("UserForms", 0)) {
  AddMethod("GetObject", [](std::span<Variant> args) {
    CheckCount(args, 0, 2, "GetObject");
    // An omitted path asks for the running object, an empty one for an
    // object of the class, as the host's language has it.
    if (args.empty() || args[0].IsEmpty()) {
      return Variant(automation::GetActiveObject(TextOr(args, 1)));
    }
    return Variant(automation::GetObject(TextOr(args, 0), TextOr(args, 1)));
  });
  AddMethod("MsgBox", [](std::span<Variant> args) {
    CheckCount(args, 1, 3, "MsgBox");
    const std::int32_t style = args.size() > 1 && !args[1].IsEmpty() ? args[1].ToLong() : 0;
    if (style < 0) throw errors::InvalidCall("MsgBox buttons " + std::to_string(style));
    return Variant(static_cast<std::int16_t>(
        ui::MsgBox(args[0].ToString(), static_cast<int>(style), TextOr(args, 2))));
  });
  AddMethod("TypeName", [](std::span<Variant> args) {
    CheckCount(args, 1, 1, "TypeName");
    return Variant(automation::TypeNameOf(args[0]));
  });
  AddMethod("DoEvents", [](std::span<Variant> args) {
    CheckCount(args, 0, 0, "DoEvents");
    ui::DoEvents();
    return Variant();
  });
  AddMethod("LoadForm", [this](std::span<Variant> args) {
    CheckCount(args, 1, 1, "LoadForm");
    auto form = forms::UserForm::Load(args[0].ToString());
    user_forms_->Add(form);
    return Variant(automation::ObjectRef(form));
  });
  AddMethod("SaveForm", [](std::span<Variant> args) {
    CheckCount(args, 1, 1, "SaveForm");
    auto form = std::dynamic_pointer_cast<forms::UserForm>(
        args[0].IsObject() ? args[0].ToObject() : automation::ObjectRef());
    if (!form) {
      throw errors::InvalidCall("SaveForm takes a form from LoadForm, not " +
                                automation::TypeNameOf(args[0]));
    }
    form->Save();
    return Variant();
  });
  AddProperty("UserForms", [this](std::span<Variant>) { return Variant(user_forms_); });
  AddMethod("LoadAlarms", [](std::span<Variant> args) {
    CheckCount(args, 1, 1, "LoadAlarms");
    return Variant(automation::ObjectRef(data::LoadCsv(args[0].ToString())));
  });
  AddMethod("SaveAlarms", [](std::span<Variant> args) {
    CheckCount(args, 2, 2, "SaveAlarms");
    if (!args[0].IsObject() || !args[0].ToObject() ||
        automation::TypeNameOf(args[0]) != "Recordset") {
      throw errors::InvalidCall("SaveAlarms takes a recordset, not " +
                                automation::TypeNameOf(args[0]));
    }
    // The library gives back clones of the host's own; another kind is read
    // by name.
    data::SaveCsv(*data::RecordsetOf(args[0].ToObject()), args[1].ToString());
    return Variant();
  });
  AddMethod("Print", [this](std::span<Variant> args) {
    CheckCount(args, 1, 1, "Print");
    out_ << args[0].ToString() << '\n';
    return Variant();
  });
  AddProperty("Arguments", [this](std::span<Variant> args) {
    if (args.empty()) return Variant(arguments_);
    CheckCount(args, 1, 1, "Arguments");
    return static_cast<ScriptArguments&>(*arguments_).Item(args[0]);
  });
}

}  // namespace vt::host::scripting
