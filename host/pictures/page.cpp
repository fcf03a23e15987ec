#include "host/pictures/page.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "host/pictures/picture_object.h"

namespace vt::host::pictures {
namespace {

using automation::Variant;
using automation::VarType;

constexpr const char* kComments = "Comments";

template <typename Narrow, typename Wide>
bool Fits(Wide value) {
  return value >= std::numeric_limits<Narrow>::min() && value <= std::numeric_limits<Narrow>::max();
}

Variant FromNumber(const nlohmann::ordered_json& value) {
  if (value.is_number_unsigned()) {
    const auto n = value.get<std::uint64_t>();
    if (n <= static_cast<std::uint64_t>(std::numeric_limits<std::int16_t>::max())) {
      return Variant(static_cast<std::int16_t>(n));
    }
    if (n <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
      return Variant(static_cast<std::int32_t>(n));
    }
    return Variant(static_cast<double>(n));
  }
  if (value.is_number_integer()) {
    const auto n = value.get<std::int64_t>();
    if (Fits<std::int16_t>(n)) return Variant(static_cast<std::int16_t>(n));
    if (Fits<std::int32_t>(n)) return Variant(static_cast<std::int32_t>(n));
    return Variant(static_cast<double>(n));
  }
  return Variant(value.get<double>());
}

}  // namespace

Page::Page(json::JsonFields fields, std::shared_ptr<ObjectCollection> objects)
    : fields_(std::move(fields)), objects_(std::move(objects)) {
  AddProperty(
      kComments, [this](std::span<Variant>) { return Comments(); },
      [this](std::span<Variant>, const Variant& value) { SetComments(value); });
  AddProperty(kContainedObjects, [this](std::span<Variant>) { return Variant(objects_); });
}

std::shared_ptr<Page> Page::Load(json::JsonSource& source) {
  const json::JsonPath root;
  json::RequireObject(source, root, source.root());
  const auto comments = source.root().find(kComments);
  if (comments != source.root().end() && !comments->is_string() && !comments->is_number()) {
    source.Fail({std::string(kComments)}, json::Quoted(kComments) + " must be a text or a number");
  }
  json::JsonFields fields(std::move(source.root()));
  auto objects = LoadContainedObjects(source, root, fields);
  return std::shared_ptr<Page>(new Page(std::move(fields), std::move(objects)));
}

std::string Page::TypeName() const { return "Page"; }

Variant Page::Comments() const {
  const nlohmann::ordered_json* value = fields_.Find(kComments);
  if (value == nullptr) return Variant("");
  if (value->is_string()) return Variant(value->get<std::string>());
  return FromNumber(*value);
}

void Page::SetComments(const Variant& value) {
  switch (value.type()) {
    case VarType::Integer:
    case VarType::Long:
      fields_.Set(kComments, value.ToLong());
      break;
    case VarType::Double:
      fields_.Set(kComments, value.ToDouble());
      break;
    default:
      fields_.Set(kComments, value.ToString());
      break;
  }
}

nlohmann::ordered_json Page::ToJson() const {
  return fields_.ToJson(kContainedObjects, SaveContainedObjects(*objects_));
}

}  // namespace vt::host::pictures
