#include "host/pictures/documents.h"

#include <filesystem>
#include <system_error>

#include "host/json/json_file.h"
#include "platform/automation/error.h"

namespace vt::host::pictures {
namespace {

using automation::Variant;

// Two paths naming one file (through "..", links or a relative folder) open
// one document.
std::string FileKey(const std::string& path) {
  std::error_code error;
  const auto canonical = std::filesystem::weakly_canonical(path, error);
  if (error) return std::filesystem::absolute(path).lexically_normal().string();
  return canonical.string();
}

}  // namespace

Documents::Documents() {
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

std::shared_ptr<Document> Documents::Open(const std::string& path) {
  if (path.empty()) throw automation::Error(automation::errors::kFileNotFound, "File not found: ");
  const std::string key = FileKey(path);
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] == key) return open_[i];
  }
  json::JsonSource source = json::JsonSource::Load(path);
  auto page = Page::Load(source);
  // The library may hold a document longer than the workspace lives.
  std::weak_ptr<Dispatch> self = weak_from_this();
  auto document = std::make_shared<Document>(path, std::move(page), [self](Document& closed) {
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
