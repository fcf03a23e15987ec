#pragma once

#include <initializer_list>
#include <nlohmann/json.hpp>

#include "host/json/json_fields.h"
#include "platform/automation/dispatch.h"

namespace vt::host::json {

// A host object whose state is one JSON object of its file.
class JsonObject : public automation::DispatchObject {
 public:
  const JsonFields& fields() const { return fields_; }

 protected:
  explicit JsonObject(nlohmann::ordered_json object) : fields_(std::move(object)) {}

  // Members read and written as text: a missing key reads as "", a write to
  // it adds the key at the end of the object.
  void AddTextProperties(std::initializer_list<const char*> keys);

  JsonFields& mutable_fields() { return fields_; }

 private:
  JsonFields fields_;
};

}  // namespace vt::host::json
