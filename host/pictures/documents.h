#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/pictures/document.h"
#include "platform/automation/dispatch.h"

namespace vt::host::pictures {

// The workspace's open documents, in opening order: Open(path, mode), Count,
// Item(i) from 1, For Each. Create it with std::make_shared: closing a
// document takes it out through a weak reference.
class Documents : public automation::DispatchObject {
 public:
  // Pictures are opened from `folder` (the pictures folder) only.
  explicit Documents(std::filesystem::path folder);
  std::string TypeName() const override;
  std::vector<automation::Variant> Enumerate() override;

  // Opens the picture file, or returns the document already open for it. As
  // on the real platform, a name finds its file whatever the letter case
  // ("MAIN.GRF" opens "Main.grf") and every spelling of it opens one
  // document, named as the folder holds it, so that its Name opens it again.
  // A path outside the folder is error 52, and so is a name that several
  // files match only without regard to letter case; a missing file is error
  // 53 naming the path, a malformed one MalformedFile.
  std::shared_ptr<Document> Open(const std::string& path);
  // The file that Open(path) reads, or nullopt when there is none; raises
  // error 52 as Open does.
  std::optional<std::string> Resolve(const std::string& path) const;
  // The open document of that Name (exact), or nullptr.
  std::shared_ptr<Document> Find(std::string_view name) const;
  const std::vector<std::shared_ptr<Document>>& open() const { return open_; }

  // Closes every open document with `code`, in opening order.
  void CloseAll(CloseCode code);

 private:
  void Forget(const Document& document);

  std::filesystem::path folder_;
  std::vector<std::shared_ptr<Document>> open_;
  std::vector<std::string> keys_;  // the file identity of each open document
};

}  // namespace vt::host::pictures
