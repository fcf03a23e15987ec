#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "host/collection.h"
#include "host/json/json_fields.h"
#include "host/json/json_object.h"

namespace vt::host::pictures {

inline constexpr const char* kGroupType = "Fix2DGroup";

// One object of a picture, reached by its "TypeName" as its type name: Name,
// Caption, Description (text) and Visible (Boolean, true when missing); a
// group also has ContainedObjects. Every other key stays as it was read.
class PictureObject : public json::JsonObject {
 public:
  // Builds the checked object found at `path` of `source`, a group's members
  // included; raises MalformedFile naming the place of anything wrong.
  static std::shared_ptr<PictureObject> Load(const json::JsonSource& source,
                                             const json::JsonPath& path,
                                             nlohmann::ordered_json object);

  std::string TypeName() const override;
  // The members of a group; nullptr for every other object.
  const ObjectCollection* members() const { return members_.get(); }

  nlohmann::ordered_json ToJson() const;

 private:
  explicit PictureObject(nlohmann::ordered_json object);

  std::string type_name_;
  std::shared_ptr<ObjectCollection> members_;
};

// The "ContainedObjects" of a page or group, taken out of `owner` and loaded.
std::shared_ptr<ObjectCollection> LoadContainedObjects(const json::JsonSource& source,
                                                       const json::JsonPath& owner_path,
                                                       json::JsonFields& owner);
// The objects back as the JSON array they are saved as.
nlohmann::ordered_json SaveContainedObjects(const ObjectCollection& objects);

inline constexpr const char* kContainedObjects = "ContainedObjects";

}  // namespace vt::host::pictures
