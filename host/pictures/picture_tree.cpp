#include "host/pictures/picture_tree.h"

#include <ostream>
#include <string>

#include "host/pictures/picture_object.h"
#include "host/tree_text.h"

namespace vt::host::pictures {
namespace {

void PrintObjects(const ObjectCollection& objects, std::ostream& out, std::size_t indent) {
  for (const auto& item : objects.items()) {
    const auto* object = dynamic_cast<const PictureObject*>(item.get());
    if (object == nullptr) continue;
    const json::JsonFields& fields = object->fields();
    out << std::string(indent, ' ') << TreeName(object->TypeName()) << ' '
        << TreeName(fields.Text("Name")) << " caption=" << TreeQuoted(fields.Text("Caption"))
        << " description=" << TreeQuoted(fields.Text("Description"))
        << " visible=" << (fields.Boolean("Visible", true) ? "true" : "false") << '\n';
    if (object->members() != nullptr) PrintObjects(*object->members(), out, indent + 2);
  }
}

}  // namespace

void PrintPictureTree(const Page& page, std::ostream& out, std::size_t indent) {
  const automation::Variant comments = page.Comments();
  out << std::string(indent, ' ') << "Comments="
      << (comments.type() == automation::VarType::String ? TreeQuoted(comments.ToString())
                                                         : comments.ToString())
      << '\n';
  PrintObjects(page.objects(), out, indent);
}

}  // namespace vt::host::pictures
