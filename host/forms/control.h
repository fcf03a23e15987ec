#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "host/collection.h"
#include "host/json/json_fields.h"
#include "host/json/json_object.h"

namespace vt::host::forms {

inline constexpr const char* kMultiPageType = "MultiPage";

// One tab of a MultiPage: Caption and ControlTipText.
class FormPage : public json::JsonObject {
 public:
  static std::shared_ptr<FormPage> Load(const json::JsonSource& source, const json::JsonPath& path,
                                        nlohmann::ordered_json page);
  std::string TypeName() const override;
  nlohmann::ordered_json ToJson() const { return fields().object(); }

 private:
  explicit FormPage(nlohmann::ordered_json page);
};

// A control of a form, reached by its "TypeName" as its type name: Name,
// Caption, ControlTipText (text, "" when missing); a MultiPage also has Pages,
// counted from 0, always the same collection of the same page objects.
class Control : public json::JsonObject {
 public:
  static std::shared_ptr<Control> Load(const json::JsonSource& source, const json::JsonPath& path,
                                       nlohmann::ordered_json control);
  std::string TypeName() const override;
  // The pages of a MultiPage; nullptr for every other control.
  const ObjectCollection* pages() const { return pages_.get(); }

  nlohmann::ordered_json ToJson() const;

 private:
  explicit Control(nlohmann::ordered_json control);

  std::string type_name_;
  std::shared_ptr<ObjectCollection> pages_;
};

}  // namespace vt::host::forms
