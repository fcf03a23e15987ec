#pragma once

#include <cstddef>
#include <iosfwd>

#include "host/forms/user_form.h"

namespace vt::host::forms {

// Prints the form, then its controls two blanks deeper and a MultiPage's
// pages deeper still:
//   UserForm frmLogin caption="Anmeldung" tag="2"
//     Label lblUser caption="Benutzername" tip=""
//     MultiPage mpgMain caption="" tip=""
//       Page(0) caption="Allgemein" tip="Allgemeine Einstellungen"
// Every line starts with `indent` blanks.
void PrintFormTree(const UserForm& form, std::ostream& out, std::size_t indent = 0);

}  // namespace vt::host::forms
