// Writes the server's registration as WiX RegistryValue rows, for the
// installer package of one architecture: the same table DllRegisterServer
// walks, with the server's path left to the installer ([#FILE_ID]).
//   print-registration BITS FILE_ID OUTPUT.wxi

#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "library/interpreter/registration.h"
#include "platform/base/xml_escape.h"

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  vt::base::AppendXmlEscaped(text, out, true);
  return out;
}

}  // namespace

// Runs on the Linux machine that makes the package.
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv, argv + argc);
  if (args.size() != 4 || (args[1] != "32" && args[1] != "64")) {
    std::cerr << "usage: print-registration 32|64 FILE_ID OUTPUT.wxi\n";
    return 2;
  }
  try {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<!-- Made by print-registration from the server's registration table. -->\n"
           "<Include>\n";
    for (const auto& row :
         vt::interpreter::ServerRegistration(std::stoi(args[1]), "[#" + args[2] + "]")) {
      out << "  <RegistryValue Root=\"HKCR\" Key=\"" << Escaped(row.key) << '"';
      if (!row.name.empty()) out << " Name=\"" << Escaped(row.name) << '"';
      out << " Value=\"" << Escaped(row.value) << "\" Type=\"string\" />\n";
    }
    out << "</Include>\n";
    std::ofstream file(args[3], std::ios::binary);
    file << out.str();
    file.close();
    if (!file) throw std::runtime_error("cannot write " + args[3]);
  } catch (const std::exception& e) {
    std::cerr << "print-registration: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
