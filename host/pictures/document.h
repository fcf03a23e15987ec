#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/pictures/page.h"
#include "platform/automation/dispatch.h"

namespace vt::host::pictures {

// What a document's Close does with the picture file.
enum class CloseCode : std::int16_t { Save = 1, Discard = 2 };

// An open picture of the workspace: Type "FIX.Picture", Name (the file name
// without folder and ".grf"), Page, Close(code, how). It also answers
// Comments, forwarded to its page, so scripts may hand either on.
class Document : public automation::DispatchObject {
 public:
  using OnClose = std::function<void(Document&)>;

  // `path` is the file as opened; `on_close` takes the document out of its
  // collection.
  Document(std::string path, std::shared_ptr<Page> page, OnClose on_close);

  std::string TypeName() const override;

  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }
  const Page& page() const { return *page_; }
  bool is_open() const { return open_; }

  // Writes the picture to its file, atomically.
  void Save() const;
  // Saves first for CloseCode::Save; a failed save leaves the document open.
  void Close(CloseCode code);

  static constexpr const char* kType = "FIX.Picture";

 private:
  std::string path_;
  std::string name_;
  std::shared_ptr<Page> page_;
  OnClose on_close_;
  bool open_ = true;
};

// The file name of `path` without its folder and a final ".grf" in any case.
std::string PictureName(const std::string& path);
// True when `name` ends in ".grf", in any letter case.
bool HasPictureExtension(std::string_view name);

}  // namespace vt::host::pictures
