#include "host/pictures/documents.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "host/json/json_file.h"
#include "platform/automation/error.h"
#include "platform/base/ascii.h"
#include "platform/system/env.h"
#include "platform/system/utf8_path.h"

namespace vt::host::pictures {
namespace {

using automation::Variant;

// Two paths naming one file (through "..", links or a relative folder) open
// one document.
std::string FileKey(const std::string& path) {
  const std::filesystem::path file = system::PathFromUtf8(path);
  std::error_code error;
  const auto canonical = std::filesystem::weakly_canonical(file, error);
  if (error) return system::Utf8FromPath(std::filesystem::absolute(file).lexically_normal());
  return system::Utf8FromPath(canonical);
}

}  // namespace

Documents::Documents(std::filesystem::path folder)
    : folder_(std::filesystem::absolute(std::move(folder)).lexically_normal()) {
  if (!folder_.has_filename()) folder_ = folder_.parent_path();  // no trailing separator
  AddMethod("Open", [this](std::span<Variant> args) {
    if (args.empty() || args.size() > 2) {
      throw automation::errors::InvalidCall("Open takes the picture's path and a mode");
    }
    return Variant(Open(args[0].ToString()));
  });
  AddProperty("Count", [this](std::span<Variant>) {
    return Variant(static_cast<std::int32_t>(open_.size()));
  });
  AddMethod("Item", [this](std::span<Variant> args) {
    if (args.size() != 1) throw automation::errors::InvalidCall("Item takes one index");
    const std::int32_t index = args[0].ToLong();
    if (index < 1 || static_cast<std::size_t>(index) > open_.size()) {
      throw automation::errors::SubscriptOutOfRange();
    }
    return Variant(open_[static_cast<std::size_t>(index - 1)]);
  });
}

std::string Documents::TypeName() const { return "Documents"; }

std::vector<Variant> Documents::Enumerate() { return {open_.begin(), open_.end()}; }

std::optional<std::string> Documents::Resolve(const std::string& path) const {
  namespace fs = std::filesystem;
  const fs::path file = fs::absolute(system::PathFromUtf8(path)).lexically_normal();
  if (file.parent_path() != folder_ || !file.has_filename() ||
      path.find('\0') != std::string::npos) {
    throw automation::errors::BadFileName("\"" + path + "\" is not a picture of the folder \"" +
                                          system::Utf8FromPath(folder_) + "\"");
  }
  // The real platform finds a file whatever the letter case of its name, and
  // names it as the folder holds it: so do we, so that two spellings of one
  // file open one document. Where a folder holds names that differ only in
  // letter case (which the real platform cannot), the name itself wins, then
  // a name whose extension alone differs (the first in name order), then the
  // only one; several others are an error naming them.
  const std::string name = system::Utf8FromPath(file.filename());
  std::vector<std::string> matches;
  try {
    for (std::string& other : system::CurrentEnv().ListFiles(system::Utf8FromPath(folder_), name)) {
      if (base::EqualsIgnoringAsciiCase(other, name)) matches.push_back(std::move(other));
    }
  } catch (const system::SystemError& e) {
    // A name the file system refuses names no file.
    if (e.code().value() == ENOENT || e.code().value() == ENAMETOOLONG) return std::nullopt;
    throw automation::errors::FileAccess(e.what());
  }
  std::sort(matches.begin(), matches.end());
  const auto at = [this](const std::string& found) {
    return system::Utf8FromPath(folder_ / system::PathFromUtf8(found));
  };
  if (std::find(matches.begin(), matches.end(), name) != matches.end()) return at(name);
  if (HasPictureExtension(name)) {
    const std::string_view stem = std::string_view(name).substr(0, name.size() - 4);
    for (const std::string& other : matches) {
      if (other.starts_with(stem)) return at(other);
    }
  }
  if (matches.empty()) return std::nullopt;
  if (matches.size() == 1) return at(matches[0]);
  std::string names;
  for (const std::string& other : matches) names += (names.empty() ? "\"" : ", \"") + other + "\"";
  throw automation::errors::BadFileName(
      "\"" + path + "\" names more than one file of the folder \"" + system::Utf8FromPath(folder_) +
      "\", which differ only in letter case: " + names);
}

std::shared_ptr<Document> Documents::Open(const std::string& path) {
  if (path.empty()) throw automation::Error(automation::errors::kFileNotFound, "File not found: ");
  const std::optional<std::string> file = Resolve(path);
  if (!file) throw automation::Error(automation::errors::kFileNotFound, "File not found: " + path);
  const std::string key = FileKey(*file);
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] == key) return open_[i];
  }
  json::JsonSource source = json::JsonSource::Load(*file);
  auto page = Page::Load(source);
  // The library may hold a document longer than the workspace lives.
  std::weak_ptr<Dispatch> self = weak_from_this();
  auto document = std::make_shared<Document>(*file, std::move(page), [self](Document& closed) {
    if (auto documents = std::dynamic_pointer_cast<Documents>(self.lock())) {
      documents->Forget(closed);
    }
  });
  open_.push_back(document);
  keys_.push_back(key);
  return document;
}

std::shared_ptr<Document> Documents::Find(std::string_view name) const {
  for (const auto& document : open_) {
    if (document->name() == name) return document;
  }
  return nullptr;
}

void Documents::CloseAll(CloseCode code) {
  // Closing shrinks the list; a copy keeps the walk steady.
  const auto documents = open_;
  for (const auto& document : documents) document->Close(code);
}

void Documents::Forget(const Document& document) {
  for (std::size_t i = 0; i < open_.size(); ++i) {
    if (open_[i].get() == &document) {
      open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(i));
      keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

}  // namespace vt::host::pictures
