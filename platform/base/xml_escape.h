#pragma once

// Text as XML character data or an attribute value. A carriage return is
// written as a reference, since a reader turns a literal one into a line
// feed; in an attribute, quotes, line feeds and tabs too, which a reader
// would otherwise normalise.

#include <string>
#include <string_view>

namespace vt::base {

inline void AppendXmlEscaped(std::string_view text, std::string& out, bool attribute = false) {
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace vt::base
