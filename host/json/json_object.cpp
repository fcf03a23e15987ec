#include "host/json/json_object.h"

namespace vt::host::json {

void JsonObject::AddTextProperties(std::initializer_list<const char*> keys) {
  using automation::Variant;
  for (const char* key : keys) {
    AddProperty(
        key, [this, key](std::span<Variant>) { return Variant(fields_.Text(key)); },
        [this, key](std::span<Variant>, const Variant& value) {
          fields_.SetText(key, value.ToString());
        });
  }
}

}  // namespace vt::host::json
