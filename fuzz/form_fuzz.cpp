// libFuzzer target for the form reader: any bytes either load as a UserForm
// or fail with the automation error that names the place; what loads is
// changed as the library changes it, saved, and must load again to the same
// form.

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "host/forms/form_tree.h"
#include "host/forms/user_form.h"
#include "host/json/json_file.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/automation/variant.h"

namespace {

using vt::automation::Variant;
using vt::host::forms::UserForm;
using vt::host::json::JsonSource;

std::string Tree(const UserForm& form) {
  std::ostringstream out;
  PrintFormTree(form, out);
  return out.str();
}

std::shared_ptr<UserForm> Reloaded(const UserForm& form) {
  JsonSource source = JsonSource::Parse(
      "again.frm.json",
      form.ToJson().dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::strict));
  return UserForm::Load(source);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::shared_ptr<UserForm> form;
  try {
    JsonSource source =
        JsonSource::Parse("fuzz.frm.json", std::string(reinterpret_cast<const char*>(data), size));
    form = UserForm::Load(source);
  } catch (const vt::automation::Error&) {
    return 0;
  }
  try {
    if (Tree(*Reloaded(*form)) != Tree(*form)) std::abort();

    // Marker and texts rewritten as a translation does.
    vt::automation::Put(form, "Tag", Variant(std::int16_t{2}));
    vt::automation::Put(form, "Caption", Variant("fuzz é"));
    for (const auto& control : form->controls().items()) {
      for (const char* text : {"Caption", "ControlTipText"}) {
        try {
          vt::automation::Put(control, text, Variant("fuzz ü"));
        } catch (const vt::automation::Error&) {
          // not every control has this text
        }
      }
    }
    if (Tree(*Reloaded(*form)) != Tree(*form)) std::abort();
  } catch (const vt::automation::Error&) {
    std::abort();  // we wrote a form we cannot read
  }
  return 0;
}
