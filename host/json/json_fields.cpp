#include "host/json/json_fields.h"

#include <utility>

namespace vt::host::json {

JsonFields::JsonFields(nlohmann::ordered_json object) : object_(std::move(object)) {}

const nlohmann::ordered_json* JsonFields::Find(std::string_view key) const {
  const auto it = object_.find(std::string(key));
  return it == object_.end() ? nullptr : &*it;
}

void JsonFields::Set(std::string_view key, nlohmann::ordered_json value) {
  object_[std::string(key)] = std::move(value);
}

std::string JsonFields::Text(std::string_view key) const {
  const nlohmann::ordered_json* value = Find(key);
  return value != nullptr && value->is_string() ? value->get<std::string>() : std::string();
}

void JsonFields::SetText(std::string_view key, std::string value) {
  // In place when the key holds text already, as every translated text does.
  const auto it = object_.find(std::string(key));
  if (it != object_.end() && it->is_string()) {
    it->get_ref<std::string&>() = std::move(value);
    return;
  }
  Set(key, std::move(value));
}

bool JsonFields::Boolean(std::string_view key, bool when_missing) const {
  const nlohmann::ordered_json* value = Find(key);
  return value != nullptr && value->is_boolean() ? value->get<bool>() : when_missing;
}

void JsonFields::SetBoolean(std::string_view key, bool value) { Set(key, value); }

nlohmann::ordered_json JsonFields::TakeList(std::string_view key) {
  const auto it = object_.find(std::string(key));
  if (it == object_.end()) return nlohmann::ordered_json::array();
  nlohmann::ordered_json list = std::move(*it);
  *it = nullptr;  // holds the list's place until it is saved
  return list;
}

nlohmann::ordered_json JsonFields::ToJson(std::string_view list_key,
                                          nlohmann::ordered_json list) const {
  nlohmann::ordered_json out = object_;
  const auto it = out.find(std::string(list_key));
  if (it != out.end()) *it = std::move(list);
  return out;
}

JsonPath Append(const JsonPath& path, std::string key) {
  JsonPath out = path;
  out.emplace_back(std::move(key));
  return out;
}

JsonPath Append(const JsonPath& path, std::size_t index) {
  JsonPath out = path;
  out.emplace_back(index);
  return out;
}

const nlohmann::ordered_json& RequireObject(const JsonSource& source, const JsonPath& path,
                                            const nlohmann::ordered_json& value) {
  if (!value.is_object()) {
    source.Fail(path, path.empty() ? "the file must hold a JSON object"
                                   : "each entry must be a JSON object");
  }
  return value;
}

void RequireTexts(const JsonSource& source, const JsonPath& path,
                  const nlohmann::ordered_json& object, std::initializer_list<const char*> keys) {
  for (const char* key : keys) {
    const auto it = object.find(key);
    if (it != object.end() && !it->is_string()) {
      source.Fail(Append(path, key), Quoted(key) + " must be a text");
    }
  }
}

void RequireText(const JsonSource& source, const JsonPath& path,
                 const nlohmann::ordered_json& object, const char* key) {
  if (!object.contains(key)) source.Fail(path, Quoted(key) + " is missing");
  RequireTexts(source, path, object, {key});
}

void RequireOptionalBoolean(const JsonSource& source, const JsonPath& path,
                            const nlohmann::ordered_json& object, const char* key) {
  const auto it = object.find(key);
  if (it != object.end() && !it->is_boolean()) {
    source.Fail(Append(path, key), Quoted(key) + " must be true or false");
  }
}

void RequireOptionalArray(const JsonSource& source, const JsonPath& path,
                          const nlohmann::ordered_json& object, const char* key) {
  const auto it = object.find(key);
  if (it != object.end() && !it->is_array()) {
    source.Fail(Append(path, key), Quoted(key) + " must be an array");
  }
}

}  // namespace vt::host::json
