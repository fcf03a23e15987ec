#include "host/forms/user_form.h"

#include <utility>

#include "host/forms/control.h"

namespace vt::host::forms {
namespace {

using automation::Variant;

constexpr const char* kControls = "Controls";

}  // namespace

UserForm::UserForm(std::string path, nlohmann::ordered_json form)
    : JsonObject(std::move(form)), path_(std::move(path)) {
  AddTextProperties({"Name", "Caption", "Tag"});
}

std::shared_ptr<UserForm> UserForm::Load(const std::string& path) {
  json::JsonSource source = json::JsonSource::Load(path);
  return Load(source);
}

std::shared_ptr<UserForm> UserForm::Load(json::JsonSource& source) {
  const json::JsonPath root;
  json::RequireObject(source, root, source.root());
  json::RequireTexts(source, root, source.root(), {"Name", "Caption", "Tag"});
  json::RequireOptionalArray(source, root, source.root(), kControls);

  std::shared_ptr<UserForm> form(new UserForm(source.path(), std::move(source.root())));
  nlohmann::ordered_json items = form->mutable_fields().TakeList(kControls);
  auto controls = std::make_shared<ObjectCollection>(kControls, 0);
  const json::JsonPath list_path{std::string(kControls)};
  for (std::size_t i = 0; i < items.size(); ++i) {
    controls->Add(Control::Load(source, json::Append(list_path, i), std::move(items[i])));
  }
  form->controls_ = controls;
  form->AddProperty(kControls, [controls](std::span<Variant> args) {
    if (args.empty()) return Variant(controls);
    std::vector<Variant> index(args.begin(), args.end());
    return automation::Call(controls, "Item", index);
  });
  return form;
}

std::string UserForm::TypeName() const { return "UserForm"; }

bool UserForm::QueryInterface(const automation::Guid& iid) const {
  static const automation::Guid kUserForm = automation::Guid::FromString(kUserFormIid);
  return iid == kUserForm || JsonObject::QueryInterface(iid);
}

nlohmann::ordered_json UserForm::ToJson() const {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const auto& item : controls_->items()) {
    const auto* control = dynamic_cast<const Control*>(item.get());
    if (control != nullptr) list.push_back(control->ToJson());
  }
  return fields().ToJson(kControls, std::move(list));
}

void UserForm::Save() const { json::WriteJsonFile(path_, ToJson()); }

}  // namespace vt::host::forms
