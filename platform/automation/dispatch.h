#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"

namespace vt::automation {

// An interface identifier, written "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
struct Guid {
  std::array<std::uint8_t, 16> bytes{};

  static std::optional<Guid> Parse(std::string_view text);
  static Guid FromString(std::string_view text);  // throws on malformed text
  std::string ToString() const;                   // upper case, with braces
  bool operator==(const Guid&) const = default;
};

enum class CallKind { Method, PropertyGet, PropertyPut };

// A late-bound object: every member is reached by name, matched without
// regard to letter case. Arguments are passed by reference: the callee may
// assign to them and the caller sees it. For PropertyPut the new value is the
// last argument.
class Dispatch : public std::enable_shared_from_this<Dispatch> {
 public:
  virtual ~Dispatch();

  // The class name the automation runtime reports for the object.
  virtual std::string TypeName() const = 0;

  virtual Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) = 0;

  // True when the object answers the interface with this id.
  virtual bool QueryInterface(const Guid& iid) const;

  // The items of a collection, in its order (For Each). Objects that are not
  // collections raise "Object doesn't support this property or method".
  virtual std::vector<Variant> Enumerate();

  // True when `member` is a method only (no property reads under that name).
  // Script bindings ask it to tell `obj.Name` (read now) from `obj:Name(...)`
  // (call later); the runtime itself never needs it.
  virtual bool IsMethod(std::string_view member) const;
};

// A Dispatch whose members are kept in a table filled by the subclass.
class DispatchObject : public Dispatch {
 public:
  using Getter = std::function<Variant(std::span<Variant> args)>;
  using Putter = std::function<void(std::span<Variant> args, const Variant& value)>;
  using Method = std::function<Variant(std::span<Variant> args)>;

  Variant Invoke(std::string_view member, CallKind kind, std::span<Variant> args) override;
  bool IsMethod(std::string_view member) const override;

 protected:
  void AddProperty(std::string_view name, Getter get, Putter put = {});
  void AddMethod(std::string_view name, Method method);
  bool HasMember(std::string_view name) const;

 private:
  struct Member {
    Getter get;
    Putter put;
    Method method;
  };
  std::map<std::string, Member, std::less<>> members_;  // keyed in lower case
};

// Late-bound calls as the host's scripts write them. `object` must not be
// empty ("Object variable or With block variable not set"). Whatever the
// callee throws reaches the caller as an Error.
Variant Get(const ObjectRef& object, std::string_view property);
Variant Get(const ObjectRef& object, std::string_view property,
            std::initializer_list<Variant> args);
void Put(const ObjectRef& object, std::string_view property, const Variant& value);
void Put(const ObjectRef& object, std::string_view property, Variant&& value);
Variant Call(const ObjectRef& object, std::string_view method, std::span<Variant> by_ref_args);
Variant Call(const ObjectRef& object, std::string_view method, std::initializer_list<Variant> args);

// The items of a collection (For Each).
std::vector<Variant> Enumerate(const ObjectRef& object);

// TypeName() of the object, "Nothing" for no object.
std::string TypeNameOf(const ObjectRef& object);
// The host language's TypeName of a value: "Empty", "Null", "Boolean",
// "Integer", "Long", "Double", "String", or the object's type name.
std::string TypeNameOf(const Variant& value);

}  // namespace vt::automation
