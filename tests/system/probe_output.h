#pragma once

// What the differential probes print: one line per case, bytes escaped so
// that line ends and blanks show.

#include <cstdio>
#include <string>
#include <string_view>

namespace vt::system::probe {

inline std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (byte < 0x20 || byte >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

inline void Print(std::string_view name, std::string_view result) {
  std::printf("%.*s: [%s]\n", static_cast<int>(name.size()), name.data(), Escaped(result).c_str());
}

}  // namespace vt::system::probe
