#include "host/tree_text.h"

#include <cstdio>

namespace vt::host {

std::string TreeQuoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(byte));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string TreeName(std::string_view name) {
  bool plain = !name.empty();
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '"' || c == '\\') plain = false;
  }
  return plain ? std::string(name) : TreeQuoted(name);
}

}  // namespace vt::host
