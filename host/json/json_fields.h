#pragma once

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "host/json/json_file.h"

namespace vt::host::json {

// The keys of one JSON object of a host file, kept in their order with every
// key the host does not know. A child list (the objects of a group, the
// controls of a form) is taken out while loaded and put back in its place on
// save, so that its objects live in their own dispatch objects.
class JsonFields {
 public:
  explicit JsonFields(nlohmann::ordered_json object);

  // A text member; a missing key reads as "".
  std::string Text(std::string_view key) const;
  // Replaces the value in place, or appends the key when it is missing.
  void SetText(std::string_view key, std::string value);

  bool Boolean(std::string_view key, bool when_missing) const;
  void SetBoolean(std::string_view key, bool value);

  // The value at `key`, or nullptr.
  const nlohmann::ordered_json* Find(std::string_view key) const;
  void Set(std::string_view key, nlohmann::ordered_json value);

  // Takes the array at `key` out (an empty one when the key is missing).
  nlohmann::ordered_json TakeList(std::string_view key);

  // The object as it is saved: `list` goes back where the taken list was; a
  // list that was missing in the file stays missing.
  nlohmann::ordered_json ToJson(std::string_view list_key, nlohmann::ordered_json list) const;
  const nlohmann::ordered_json& object() const { return object_; }

 private:
  nlohmann::ordered_json object_;
};

// Checks of a loaded value, each naming its place through `source` on failure.
const nlohmann::ordered_json& RequireObject(const JsonSource& source, const JsonPath& path,
                                            const nlohmann::ordered_json& value);
// Every key of `keys` present in `object` holds text.
void RequireTexts(const JsonSource& source, const JsonPath& path,
                  const nlohmann::ordered_json& object, std::initializer_list<const char*> keys);
// `key` is present and holds text.
void RequireText(const JsonSource& source, const JsonPath& path,
                 const nlohmann::ordered_json& object, const char* key);
// `key`, when present, holds a Boolean.
void RequireOptionalBoolean(const JsonSource& source, const JsonPath& path,
                            const nlohmann::ordered_json& object, const char* key);
// `key`, when present, holds an array.
void RequireOptionalArray(const JsonSource& source, const JsonPath& path,
                          const nlohmann::ordered_json& object, const char* key);

// `path` with one more step.
JsonPath Append(const JsonPath& path, std::string key);
JsonPath Append(const JsonPath& path, std::size_t index);

}  // namespace vt::host::json
