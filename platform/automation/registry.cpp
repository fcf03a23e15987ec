#include "platform/automation/registry.h"

#include <algorithm>
#include <cerrno>
#include <nlohmann/json.hpp>

#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/base/ascii.h"
#include "platform/system/env.h"
#include "platform/system/environment_variables.h"
#include "platform/system/utf8_path.h"

namespace vt::automation {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string QuotedFile(const fs::path& file) { return "\"" + system::Utf8FromPath(file) + "\""; }

std::string Reason(const system::SystemError& e) { return e.code().message(); }

bool SameProgId(std::string_view a, std::string_view b) {
  return base::EqualsIgnoringAsciiCase(a, b);
}

std::string NormalisedClsid(std::string_view clsid, const fs::path& file, std::size_t index) {
  auto guid = Guid::Parse(clsid);
  if (!guid) {
    throw errors::FileAccess("class registry " + QuotedFile(file) + ", entry " +
                             std::to_string(index + 1) + ": \"clsid\" is not a class id: \"" +
                             std::string(clsid) + "\"");
  }
  return guid->ToString();
}

std::string TextField(const json& entry, const char* key, const fs::path& file, std::size_t index) {
  auto it = entry.find(key);
  if (it == entry.end() || !it->is_string()) {
    throw errors::FileAccess("class registry " + QuotedFile(file) + ", entry " +
                             std::to_string(index + 1) + ": \"" + key +
                             "\" is missing or not text");
  }
  return it->get<std::string>();
}

}  // namespace

fs::path ClassRegistryPath() {
  const auto variable = [](const char* name) {
    return system::ReadEnvironmentVariable(name).value_or("");
  };
  if (const std::string env = variable("VELTRANO_CLASS_REGISTRY"); !env.empty()) {
    return system::PathFromUtf8(env);
  }
  if (const std::string xdg = variable("XDG_CONFIG_HOME"); !xdg.empty()) {
    return system::PathFromUtf8(xdg) / "veltrano" / "classes.json";
  }
  const std::string home = variable("HOME");
  if (home.empty()) {
    throw errors::FileAccess(
        "no place for the class registry: neither VELTRANO_CLASS_REGISTRY, XDG_CONFIG_HOME "
        "nor HOME is set");
  }
  return system::PathFromUtf8(home) / ".config" / "veltrano" / "classes.json";
}

ClassRegistry ClassRegistry::Load(const fs::path& file) {
  ClassRegistry registry;
  std::string text;
  try {
    text = system::CurrentEnv().ReadFile(system::Utf8FromPath(file));
  } catch (const system::SystemError& e) {
    if (e.code().value() == ENOENT) return registry;
    throw errors::FileAccess("cannot read " + QuotedFile(file) + ": " + Reason(e));
  }

  json doc;
  try {
    doc = json::parse(text);
  } catch (const json::parse_error& e) {
    throw errors::FileAccess("class registry " + QuotedFile(file) + " is damaged at byte " +
                             std::to_string(e.byte) + ": " + e.what());
  } catch (const json::exception& e) {  // a number too large to hold
    throw errors::FileAccess("class registry " + QuotedFile(file) + " is damaged: " + e.what());
  }
  if (!doc.is_object() || !doc.contains("classes") || !doc["classes"].is_array()) {
    throw errors::FileAccess("class registry " + QuotedFile(file) +
                             ": expected an object with a \"classes\" list");
  }
  const json& classes = doc["classes"];
  for (std::size_t i = 0; i < classes.size(); ++i) {
    const json& entry = classes[i];
    if (!entry.is_object()) {
      throw errors::FileAccess("class registry " + QuotedFile(file) + ", entry " +
                               std::to_string(i + 1) + ": expected an object");
    }
    registry.entries_.push_back({TextField(entry, "progid", file, i),
                                 NormalisedClsid(TextField(entry, "clsid", file, i), file, i),
                                 TextField(entry, "server", file, i)});
  }
  return registry;
}

std::optional<ClassEntry> ClassRegistry::FindByProgId(std::string_view progid) const {
  for (const auto& e : entries_) {
    if (SameProgId(e.progid, progid)) return e;
  }
  return std::nullopt;
}

std::optional<ClassEntry> ClassRegistry::FindByClsid(std::string_view clsid) const {
  auto wanted = Guid::Parse(clsid);
  if (!wanted) return std::nullopt;
  for (const auto& e : entries_) {
    if (Guid::Parse(e.clsid) == wanted) return e;
  }
  return std::nullopt;
}

void ClassRegistry::Register(ClassEntry entry) {
  entry.clsid = Guid::FromString(entry.clsid).ToString();
  std::erase_if(entries_, [&](const ClassEntry& e) {
    return SameProgId(e.progid, entry.progid) || e.clsid == entry.clsid;
  });
  entries_.push_back(std::move(entry));
}

bool ClassRegistry::Unregister(std::string_view clsid) {
  auto wanted = Guid::Parse(clsid);
  if (!wanted) return false;
  return std::erase_if(entries_,
                       [&](const ClassEntry& e) { return Guid::Parse(e.clsid) == wanted; }) > 0;
}

void ClassRegistry::Save(const fs::path& file) const {
  json classes = json::array();
  for (const auto& e : entries_) {
    classes.push_back({{"progid", e.progid}, {"clsid", e.clsid}, {"server", e.server}});
  }
  const std::string text = json{{"classes", classes}}.dump(2) + "\n";

  std::error_code ec;
  if (file.has_parent_path()) {
    fs::create_directories(file.parent_path(), ec);
    if (ec) {
      throw errors::FileAccess("cannot create the folder " + QuotedFile(file.parent_path()) + ": " +
                               ec.message());
    }
  }
  try {
    system::CurrentEnv().WriteFileAtomic(system::Utf8FromPath(file), text);
  } catch (const system::SystemError& e) {
    throw errors::FileAccess("cannot write " + QuotedFile(file) + ": " + Reason(e));
  }
}

void UpdateClassRegistry(const fs::path& file, const std::function<void(ClassRegistry&)>& change) {
  std::error_code ec;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
  std::unique_ptr<system::FileLock> lock;
  try {
    lock = system::CurrentEnv().LockForWriting(system::Utf8FromPath(file));
  } catch (const system::SystemError& e) {
    throw errors::FileAccess("cannot lock the class registry " + QuotedFile(file) + ": " +
                             Reason(e));
  }
  ClassRegistry registry = ClassRegistry::Load(file);
  change(registry);
  registry.Save(file);
}

}  // namespace vt::automation
