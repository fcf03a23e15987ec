#include "platform/automation/error.h"

#include <exception>
#include <new>
#include <string>

namespace vt::automation {

Error::Error(std::int32_t number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

namespace errors {
namespace {

std::string WithDetail(std::string_view text, std::string_view detail) {
  std::string out(text);
  if (!detail.empty()) {
    out += ": ";
    out += detail;
  }
  return out;
}

std::string Qualified(std::string_view type_name, std::string_view member) {
  std::string out(type_name);
  out += '.';
  out += member;
  return out;
}

}  // namespace

Error Overflow() { return Error(kOverflow, "Overflow"); }
Error TypeMismatch() { return Error(kTypeMismatch, "Type mismatch"); }
Error InvalidUseOfNull() { return Error(kInvalidUseOfNull, "Invalid use of Null"); }
Error ObjectNotSet() {
  return Error(kObjectNotSet, "Object variable or With block variable not set");
}
Error SubscriptOutOfRange() { return Error(kSubscriptOutOfRange, "Subscript out of range"); }

Error InvalidCall(std::string_view detail) {
  return Error(kInvalidCall, WithDetail("Invalid procedure call or argument", detail));
}

Error FileAccess(std::string_view detail) {
  return Error(kFileAccess, WithDetail("Path/File access error", detail));
}

Error BadFileName(std::string_view detail) {
  return Error(kBadFileName, WithDetail("Bad file name or number", detail));
}

Error NoSuchMember(std::string_view type_name, std::string_view member) {
  return Error(kNoSuchMember, WithDetail("Object doesn't support this property or method",
                                         Qualified(type_name, member)));
}

Error ReadOnlyProperty(std::string_view type_name, std::string_view member) {
  return Error(kReadOnlyProperty,
               WithDetail("Can't assign to read-only property", Qualified(type_name, member)));
}

Error CannotCreateObject(std::string_view class_name, std::string_view reason) {
  std::string text = "ActiveX component can't create object: ";
  text += class_name;
  if (!reason.empty()) {
    text += " (";
    text += reason;
    text += ')';
  }
  return Error(kCannotCreateObject, text);
}

Error FromCurrentException() {
  try {
    throw;
  } catch (const Error& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return Error(kOutOfMemory, "Out of memory");
  } catch (const std::exception& e) {
    return Error(kInternal, WithDetail("Internal error", e.what()));
  } catch (...) {
    return Error(kInternal, "Internal error");
  }
}

}  // namespace errors
}  // namespace vt::automation
