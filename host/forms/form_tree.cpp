#include "host/forms/form_tree.h"

#include <ostream>
#include <string>

#include "host/forms/control.h"
#include "host/tree_text.h"

namespace vt::host::forms {

void PrintFormTree(const UserForm& form, std::ostream& out, std::size_t indent) {
  const std::string pad(indent, ' ');
  out << pad << "UserForm " << TreeName(form.fields().Text("Name"))
      << " caption=" << TreeQuoted(form.fields().Text("Caption"))
      << " tag=" << TreeQuoted(form.fields().Text("Tag")) << '\n';
  for (const auto& item : form.controls().items()) {
    const auto* control = dynamic_cast<const Control*>(item.get());
    if (control == nullptr) continue;
    const json::JsonFields& fields = control->fields();
    out << pad << "  " << TreeName(control->TypeName()) << ' ' << TreeName(fields.Text("Name"))
        << " caption=" << TreeQuoted(fields.Text("Caption"))
        << " tip=" << TreeQuoted(fields.Text("ControlTipText")) << '\n';
    if (control->pages() == nullptr) continue;
    std::size_t index = 0;
    for (const auto& page_item : control->pages()->items()) {
      const auto* page = dynamic_cast<const FormPage*>(page_item.get());
      if (page == nullptr) continue;
      out << pad << "    Page(" << index++
          << ") caption=" << TreeQuoted(page->fields().Text("Caption"))
          << " tip=" << TreeQuoted(page->fields().Text("ControlTipText")) << '\n';
    }
  }
}

}  // namespace vt::host::forms
