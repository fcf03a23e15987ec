#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "host/collection.h"
#include "host/json/json_file.h"
#include "host/json/json_object.h"

namespace vt::host::forms {

// The interface id of the forms package's UserForm; only UserForm answers it.
inline constexpr const char* kUserFormIid = "{04598FC8-866C-11CF-AB7C-00AA00C08FCF}";

// A UserForm loaded from its form file: Name, Caption, Tag (text; a number
// written to it is kept as its decimal text) and Controls, every control of
// the form in file order, counted from 0.
class UserForm : public json::JsonObject {
 public:
  // Reads the form file; a missing file is error 53, a malformed one
  // MalformedFile naming the place.
  static std::shared_ptr<UserForm> Load(const std::string& path);
  static std::shared_ptr<UserForm> Load(json::JsonSource& source);

  std::string TypeName() const override;
  bool QueryInterface(const automation::Guid& iid) const override;

  const std::string& path() const { return path_; }
  const ObjectCollection& controls() const { return *controls_; }

  nlohmann::ordered_json ToJson() const;
  // Writes the form back to the file it came from, atomically.
  void Save() const;

 private:
  UserForm(std::string path, nlohmann::ordered_json form);

  std::string path_;
  std::shared_ptr<ObjectCollection> controls_;
};

}  // namespace vt::host::forms
