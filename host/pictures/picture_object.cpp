#include "host/pictures/picture_object.h"

#include <utility>

#include "platform/automation/variant.h"

namespace vt::host::pictures {
namespace {

using automation::Variant;

}  // namespace

PictureObject::PictureObject(nlohmann::ordered_json object)
    : JsonObject(std::move(object)), type_name_(fields().Text("TypeName")) {
  AddTextProperties({"Name", "Caption", "Description"});
  AddProperty(
      "Visible", [this](std::span<Variant>) { return Variant(fields().Boolean("Visible", true)); },
      [this](std::span<Variant>, const Variant& value) {
        mutable_fields().SetBoolean("Visible", value.ToBoolean());
      });
}

std::shared_ptr<PictureObject> PictureObject::Load(const json::JsonSource& source,
                                                   const json::JsonPath& path,
                                                   nlohmann::ordered_json object) {
  json::RequireObject(source, path, object);
  json::RequireText(source, path, object, "TypeName");
  json::RequireTexts(source, path, object, {"Name", "Caption", "Description"});
  json::RequireOptionalBoolean(source, path, object, "Visible");

  std::shared_ptr<PictureObject> loaded(new PictureObject(std::move(object)));
  if (loaded->type_name_ == kGroupType) {
    loaded->members_ = LoadContainedObjects(source, path, loaded->mutable_fields());
    auto members = loaded->members_;
    loaded->AddProperty(kContainedObjects,
                        [members](std::span<Variant>) { return Variant(members); });
  }
  return loaded;
}

std::string PictureObject::TypeName() const { return type_name_; }

nlohmann::ordered_json PictureObject::ToJson() const {
  if (!members_) return fields().object();
  return fields().ToJson(kContainedObjects, SaveContainedObjects(*members_));
}

std::shared_ptr<ObjectCollection> LoadContainedObjects(const json::JsonSource& source,
                                                       const json::JsonPath& owner_path,
                                                       json::JsonFields& owner) {
  const nlohmann::ordered_json* list = owner.Find(kContainedObjects);
  if (list != nullptr && !list->is_array()) {
    source.Fail(json::Append(owner_path, kContainedObjects),
                json::Quoted(kContainedObjects) + " must be an array");
  }
  nlohmann::ordered_json items = owner.TakeList(kContainedObjects);
  auto objects = std::make_shared<ObjectCollection>(kContainedObjects, 1);
  const json::JsonPath list_path = json::Append(owner_path, kContainedObjects);
  for (std::size_t i = 0; i < items.size(); ++i) {
    objects->Add(PictureObject::Load(source, json::Append(list_path, i), std::move(items[i])));
  }
  return objects;
}

nlohmann::ordered_json SaveContainedObjects(const ObjectCollection& objects) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const auto& item : objects.items()) {
    const auto* object = dynamic_cast<const PictureObject*>(item.get());
    if (object != nullptr) list.push_back(object->ToJson());
  }
  return list;
}

}  // namespace vt::host::pictures
