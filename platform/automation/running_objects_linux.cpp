#include <map>
#include <mutex>
#include <string>

#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/base/ascii.h"

namespace vt::automation {
namespace {

std::string Key(std::string_view name) { return base::ToAsciiLower(name); }

struct RunningObjects {
  std::mutex mutex;
  std::map<std::string, ObjectRef> objects;
};

// Never destroyed: objects may still be registered when the process exits,
// and their destructors must not run after their libraries are gone.
RunningObjects& Table() {
  static auto* table = new RunningObjects;
  return *table;
}

}  // namespace

void RegisterActiveObject(std::string_view class_name, ObjectRef object, const Guid&, bool) {
  if (!object) throw errors::ObjectNotSet();
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  table.objects[Key(class_name)] = std::move(object);
}

void RevokeActiveObject(std::string_view class_name) {
  ObjectRef released;  // released outside the lock: its destructor may call back
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.objects.find(Key(class_name));
  if (it == table.objects.end()) return;
  released = std::move(it->second);
  table.objects.erase(it);
}

void UnregisterActiveClass(std::string_view, const Guid&) {
  // The table lives and dies with the process: nothing was written elsewhere.
}

ObjectRef GetObject(std::string_view path_name, std::string_view class_name) {
  if (!path_name.empty()) {
    throw errors::InvalidCall("GetObject cannot open the file \"" + std::string(path_name) +
                              "\": only running objects are found by class name");
  }
  return GetActiveObject(class_name);
}

ObjectRef GetActiveObject(std::string_view class_name) {
  auto& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.objects.find(Key(class_name));
  if (it == table.objects.end()) {
    throw errors::CannotCreateObject(class_name, "no running program has registered it");
  }
  return it->second;
}

}  // namespace vt::automation
