// libFuzzer target for the picture reader: any bytes either load as a picture
// or fail with the automation error that names the place; what loads is
// changed as the library changes it, saved, and must load again to the same
// picture.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "host/json/json_file.h"
#include "host/pictures/page.h"
#include "host/pictures/picture_object.h"
#include "host/pictures/picture_tree.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/automation/variant.h"

namespace {

using vt::automation::Variant;
using vt::host::json::JsonSource;
using vt::host::pictures::Page;

std::string Tree(const Page& page) {
  std::ostringstream out;
  PrintPictureTree(page, out);
  return out.str();
}

// Marker and texts rewritten as a translation does, groups included.
void Translate(const vt::host::ObjectCollection& objects, int level) {
  for (const auto& object : objects.items()) {
    auto* item = dynamic_cast<vt::host::pictures::PictureObject*>(object.get());
    if (item == nullptr) continue;
    try {
      vt::automation::Put(object, "Caption", Variant("fuzz é"));
    } catch (const vt::automation::Error&) {
      // not every object has a caption to write
    }
    if (item->members() != nullptr && level < 20) Translate(*item->members(), level + 1);
  }
}

std::string Saved(const Page& page) {
  return page.ToJson().dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::strict);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::shared_ptr<Page> page;
  try {
    JsonSource source =
        JsonSource::Parse("fuzz.grf", std::string(reinterpret_cast<const char*>(data), size));
    page = Page::Load(source);
  } catch (const vt::automation::Error&) {
    return 0;
  }
  const std::string before = Tree(*page);
  try {
    // As loaded, the picture saves and loads back unchanged.
    JsonSource again = JsonSource::Parse("again.grf", Saved(*page));
    if (Tree(*Page::Load(again)) != before) std::abort();

    page->SetComments(Variant(std::int16_t{2}));
    Translate(page->objects(), 1);
    JsonSource translated = JsonSource::Parse("translated.grf", Saved(*page));
    if (Tree(*Page::Load(translated)) != Tree(*page)) std::abort();
  } catch (const vt::automation::Error&) {
    std::abort();  // we wrote a picture we cannot read
  }
  return 0;
}
