#pragma once

#include <cstddef>
#include <iosfwd>

#include "host/pictures/page.h"

namespace vt::host::pictures {

// Prints the picture's marker, then one line per object in file order, each
// group's members two blanks deeper:
//   Comments=2
//   Fix2DText txtTitle caption=" Übersicht Kessel " description="" visible=true
//   Fix2DGroup grpPump caption="" description="" visible=true
//     CommandButton cmdStart caption="Starten" description="..." visible=true
// Every line starts with `indent` blanks.
void PrintPictureTree(const Page& page, std::ostream& out, std::size_t indent = 0);

}  // namespace vt::host::pictures
