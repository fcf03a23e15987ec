#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "host/collection.h"
#include "host/json/json_fields.h"
#include "platform/automation/dispatch.h"

namespace vt::host::pictures {

// The page of a picture: the whole picture file. Comments is the language
// marker (text or number); ContainedObjects the objects on the page.
class Page : public automation::DispatchObject {
 public:
  // Loads the picture from a parsed file; raises MalformedFile naming the
  // place of anything that is not a picture.
  static std::shared_ptr<Page> Load(json::JsonSource& source);

  std::string TypeName() const override;

  // Text reads as String; a whole number as Integer, or Long, or Double when
  // too large; a missing marker as "".
  automation::Variant Comments() const;
  // A number (Integer, Long, Double) is kept as a JSON number, anything else
  // as its text.
  void SetComments(const automation::Variant& value);

  const ObjectCollection& objects() const { return *objects_; }
  nlohmann::ordered_json ToJson() const;

 private:
  Page(json::JsonFields fields, std::shared_ptr<ObjectCollection> objects);

  json::JsonFields fields_;
  std::shared_ptr<ObjectCollection> objects_;
};

}  // namespace vt::host::pictures
