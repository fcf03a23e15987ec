#include "platform/automation/dispatch.h"

#include <cctype>
#include <utility>
#include <vector>

#include "platform/automation/error.h"
#include "platform/base/ascii.h"

namespace vt::automation {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Member names are matched without regard to case; they are ASCII identifiers.
std::string LowerAscii(std::string_view s) { return base::ToAsciiLower(s); }

// A member name in lower case, as the table keys it. Names are short, so a
// call lowers its member's name on the stack instead of allocating a copy.
class LowerName {
 public:
  explicit LowerName(std::string_view name) {
    if (name.size() <= sizeof small_) {
      for (std::size_t i = 0; i < name.size(); ++i) small_[i] = base::AsciiLower(name[i]);
      view_ = std::string_view(small_, name.size());
    } else {
      large_ = LowerAscii(name);
      view_ = large_;
    }
  }
  LowerName(const LowerName&) = delete;
  LowerName& operator=(const LowerName&) = delete;

  std::string_view view() const { return view_; }

 private:
  char small_[64];
  std::string large_;
  std::string_view view_;
};

Variant InvokeGuarded(const ObjectRef& object, std::string_view member, CallKind kind,
                      std::span<Variant> args) {
  if (!object) throw errors::ObjectNotSet();
  return errors::Guarded([&] { return object->Invoke(member, kind, args); });
}

}  // namespace

std::optional<Guid> Guid::Parse(std::string_view text) {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return std::nullopt;
  Guid guid;
  std::size_t byte = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (i == 8 || i == 13 || i == 18 || i == 23) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int hi = HexValue(text[i]);
    const int lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    guid.bytes[byte++] = static_cast<std::uint8_t>(hi * 16 + lo);
    i += 2;
  }
  return guid;
}

Guid Guid::FromString(std::string_view text) {
  auto guid = Parse(text);
  if (!guid) {
    throw errors::InvalidCall("malformed interface id \"" + std::string(text) + "\"");
  }
  return *guid;
}

std::string Guid::ToString() const {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 0x0F];
  }
  out += '}';
  return out;
}

Dispatch::~Dispatch() = default;

bool Dispatch::QueryInterface(const Guid& iid) const {
  static const Guid kUnknown = Guid::FromString("{00000000-0000-0000-C000-000000000046}");
  static const Guid kDispatch = Guid::FromString("{00020400-0000-0000-C000-000000000046}");
  return iid == kUnknown || iid == kDispatch;
}

std::vector<Variant> Dispatch::Enumerate() { throw errors::NoSuchMember(TypeName(), "_NewEnum"); }

bool Dispatch::IsMethod(std::string_view) const { return false; }

Variant DispatchObject::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
  const LowerName key(member);
  auto it = members_.find(key.view());
  if (it == members_.end()) throw errors::NoSuchMember(TypeName(), member);
  const Member& m = it->second;
  switch (kind) {
    case CallKind::Method:
    case CallKind::PropertyGet:
      // Late binding does not tell a function from a property read.
      if (m.method) return m.method(args);
      if (m.get) return m.get(args);
      break;
    case CallKind::PropertyPut:
      if (args.empty()) throw errors::InvalidCall("no value to assign to " + std::string(member));
      if (m.put) {
        m.put(args.first(args.size() - 1), args.back());
        return {};
      }
      if (m.get) throw errors::ReadOnlyProperty(TypeName(), member);
      break;
  }
  throw errors::NoSuchMember(TypeName(), member);
}

void DispatchObject::AddProperty(std::string_view name, Getter get, Putter put) {
  Member& m = members_[LowerAscii(name)];
  m.get = std::move(get);
  m.put = std::move(put);
}

void DispatchObject::AddMethod(std::string_view name, Method method) {
  members_[LowerAscii(name)].method = std::move(method);
}

bool DispatchObject::IsMethod(std::string_view member) const {
  const LowerName key(member);
  auto it = members_.find(key.view());
  return it != members_.end() && it->second.method && !it->second.get;
}

bool DispatchObject::HasMember(std::string_view name) const {
  const LowerName key(name);
  return members_.find(key.view()) != members_.end();
}

Variant Get(const ObjectRef& object, std::string_view property) {
  return InvokeGuarded(object, property, CallKind::PropertyGet, {});
}

Variant Get(const ObjectRef& object, std::string_view property,
            std::initializer_list<Variant> args) {
  std::vector<Variant> copy(args);
  return InvokeGuarded(object, property, CallKind::PropertyGet, copy);
}

void Put(const ObjectRef& object, std::string_view property, const Variant& value) {
  Variant arg = value;
  InvokeGuarded(object, property, CallKind::PropertyPut, std::span<Variant>(&arg, 1));
}

void Put(const ObjectRef& object, std::string_view property, Variant&& value) {
  Variant arg = std::move(value);
  InvokeGuarded(object, property, CallKind::PropertyPut, std::span<Variant>(&arg, 1));
}

Variant Call(const ObjectRef& object, std::string_view method, std::span<Variant> by_ref_args) {
  return InvokeGuarded(object, method, CallKind::Method, by_ref_args);
}

Variant Call(const ObjectRef& object, std::string_view method,
             std::initializer_list<Variant> args) {
  std::vector<Variant> copy(args);
  return InvokeGuarded(object, method, CallKind::Method, copy);
}

std::string TypeNameOf(const ObjectRef& object) {
  return object ? object->TypeName() : std::string("Nothing");
}

std::vector<Variant> Enumerate(const ObjectRef& object) {
  if (!object) throw errors::ObjectNotSet();
  return errors::Guarded([&] { return object->Enumerate(); });
}

std::string TypeNameOf(const Variant& value) {
  switch (value.type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Boolean:
      return "Boolean";
    case VarType::Integer:
      return "Integer";
    case VarType::Long:
      return "Long";
    case VarType::Double:
      return "Double";
    case VarType::String:
      return "String";
    case VarType::Object:
      return TypeNameOf(value.ToObject());
  }
  return "Unknown";
}

}  // namespace vt::automation
