#include "host/forms/control.h"

#include <utility>

#include "platform/automation/error.h"

namespace vt::host::forms {
namespace {

using automation::Variant;

constexpr const char* kPages = "Pages";

}  // namespace

FormPage::FormPage(nlohmann::ordered_json page) : JsonObject(std::move(page)) {
  AddTextProperties({"Caption", "ControlTipText"});
}

std::shared_ptr<FormPage> FormPage::Load(const json::JsonSource& source, const json::JsonPath& path,
                                         nlohmann::ordered_json page) {
  json::RequireObject(source, path, page);
  json::RequireTexts(source, path, page, {"Caption", "ControlTipText"});
  return std::shared_ptr<FormPage>(new FormPage(std::move(page)));
}

std::string FormPage::TypeName() const { return "Page"; }

Control::Control(nlohmann::ordered_json control)
    : JsonObject(std::move(control)), type_name_(fields().Text("TypeName")) {
  AddTextProperties({"Name", "Caption", "ControlTipText"});
}

std::shared_ptr<Control> Control::Load(const json::JsonSource& source, const json::JsonPath& path,
                                       nlohmann::ordered_json control) {
  json::RequireObject(source, path, control);
  json::RequireText(source, path, control, "TypeName");
  json::RequireTexts(source, path, control, {"Name", "Caption", "ControlTipText"});

  std::shared_ptr<Control> loaded(new Control(std::move(control)));
  if (loaded->type_name_ != kMultiPageType) return loaded;

  const nlohmann::ordered_json* list = loaded->fields().Find(kPages);
  if (list != nullptr && !list->is_array()) {
    source.Fail(json::Append(path, kPages), json::Quoted(kPages) + " must be an array");
  }
  nlohmann::ordered_json items = loaded->mutable_fields().TakeList(kPages);
  auto pages = std::make_shared<ObjectCollection>(kPages, 0);
  const json::JsonPath list_path = json::Append(path, kPages);
  for (std::size_t i = 0; i < items.size(); ++i) {
    pages->Add(FormPage::Load(source, json::Append(list_path, i), std::move(items[i])));
  }
  loaded->pages_ = pages;
  // Pages(i) reads as Pages.Item(i), as the default member does in scripts.
  loaded->AddProperty(kPages, [pages](std::span<Variant> args) {
    if (args.empty()) return Variant(pages);
    std::vector<Variant> index(args.begin(), args.end());
    return automation::Call(pages, "Item", index);
  });
  return loaded;
}

std::string Control::TypeName() const { return type_name_; }

nlohmann::ordered_json Control::ToJson() const {
  if (!pages_) return fields().object();
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const auto& item : pages_->items()) {
    const auto* page = dynamic_cast<const FormPage*>(item.get());
    if (page != nullptr) list.push_back(page->ToJson());
  }
  return fields().ToJson(kPages, std::move(list));
}

}  // namespace vt::host::forms
