#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The class registry: which server library makes the objects of a class,
// found by ProgID or class id. One JSON file:
//   {"classes": [{"progid": "...", "clsid": "{...}", "server": "/abs/lib.so"}]}
namespace vt::automation {

struct ClassEntry {
  std::string progid;
  std::string clsid;   // "{XXXXXXXX-...}", upper case
  std::string server;  // absolute path of the server library
  bool operator==(const ClassEntry&) const = default;
};

// $VELTRANO_CLASS_REGISTRY when set and not empty, else
// $XDG_CONFIG_HOME/veltrano/classes.json, else ~/.config/veltrano/classes.json.
std::filesystem::path ClassRegistryPath();

class ClassRegistry {
 public:
  // A missing file is an empty registry; an unreadable or damaged one is an
  // Error naming the file and what is wrong where.
  static ClassRegistry Load(const std::filesystem::path& file);

  // ProgIDs match without regard to case, class ids by value.
  std::optional<ClassEntry> FindByProgId(std::string_view progid) const;
  std::optional<ClassEntry> FindByClsid(std::string_view clsid) const;

  // Replaces any entry with the same ProgID or class id.
  void Register(ClassEntry entry);
  // Removes the entries with this class id; false when there were none.
  bool Unregister(std::string_view clsid);

  const std::vector<ClassEntry>& entries() const { return entries_; }

  // Written aside and renamed over the file, so readers never see half of it.
  void Save(const std::filesystem::path& file) const;

 private:
  std::vector<ClassEntry> entries_;
};

// Load, change, save, under an exclusive lock (a ".lock" file beside the
// registry) so that concurrent registrations do not lose each other's entries.
void UpdateClassRegistry(const std::filesystem::path& file,
                         const std::function<void(ClassRegistry&)>& change);

}  // namespace vt::automation
