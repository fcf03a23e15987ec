#include "host/pictures/document.h"

#include <filesystem>
#include <utility>

#include "host/json/json_file.h"
#include "platform/automation/error.h"
#include "platform/base/ascii.h"
#include "platform/system/utf8_path.h"

namespace vt::host::pictures {
namespace {

using automation::Variant;

}  // namespace

bool HasPictureExtension(std::string_view name) {
  if (name.size() < 4) return false;
  return base::EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".GRF");
}

std::string PictureName(const std::string& path) {
  std::string name = system::Utf8FromPath(system::PathFromUtf8(path).filename());
  if (HasPictureExtension(name)) name.resize(name.size() - 4);
  return name;
}

Document::Document(std::string path, std::shared_ptr<Page> page, OnClose on_close)
    : path_(std::move(path)),
      name_(PictureName(path_)),
      page_(std::move(page)),
      on_close_(std::move(on_close)) {
  AddProperty("Type", [](std::span<Variant>) { return Variant(kType); });
  AddProperty("Name", [this](std::span<Variant>) { return Variant(name_); });
  AddProperty("FullName", [this](std::span<Variant>) { return Variant(path_); });
  AddProperty("Page", [this](std::span<Variant>) { return Variant(page_); });
  AddProperty(
      "Comments", [this](std::span<Variant>) { return page_->Comments(); },
      [this](std::span<Variant>, const Variant& value) { page_->SetComments(value); });
  AddMethod("Close", [this](std::span<Variant> args) {
    if (args.empty() || args.size() > 2) {
      throw automation::errors::InvalidCall("Close takes a code (1 save, 2 discard) and a mode");
    }
    const std::int16_t code = args[0].ToInteger();
    if (code != 1 && code != 2) {
      throw automation::errors::InvalidCall("Close(" + std::to_string(code) +
                                            "): the code is 1 (save) or 2 (discard)");
    }
    Close(static_cast<CloseCode>(code));
    return Variant();
  });
}

std::string Document::TypeName() const { return "Document"; }

void Document::Save() const { json::WriteJsonFile(path_, page_->ToJson()); }

void Document::Close(CloseCode code) {
  if (!open_) throw automation::errors::InvalidCall("the picture " + name_ + " is not open");
  if (code == CloseCode::Save) Save();
  open_ = false;
  if (on_close_) on_close_(*this);
}

}  // namespace vt::host::pictures
