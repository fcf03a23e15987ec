#include "library/interpreter/registration.h"

#include <stdexcept>

namespace vt::interpreter {
namespace {

constexpr std::string_view kProgId = "Veltrano.VeltranoModule";
constexpr std::string_view kClsid = "{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}";
constexpr std::string_view kLibId = "{E0B1C286-71C6-4EF0-9543-D2FF05EA585F}";
constexpr std::string_view kIid = "{4EBE1143-1005-4961-B42D-4E3211D98919}";
// The system's marshaller for interfaces described by a type library.
constexpr std::string_view kTypeLibMarshaler = "{00020424-0000-0000-C000-000000000046}";

std::string Key(std::string_view a, std::string_view b, std::string_view c = {}) {
  std::string key(a);
  key.append("\\").append(b);
  if (!c.empty()) key.append("\\").append(c);
  return key;
}

}  // namespace

std::vector<RegistryRow> ServerRegistration(int bits, std::string_view path) {
  if (bits != 32 && bits != 64) {
    throw std::invalid_argument("no registration for a " + std::to_string(bits) + "-bit server");
  }
  const std::string clsid = Key("CLSID", kClsid);
  const std::string typelib = Key("TypeLib", kLibId, "1.0");
  const std::string interface = Key("Interface", kIid);
  const std::string p(path);
  // What RegisterTypeLib would write for the type library embedded in the
  // server, less HELPDIR (there is no help file).
  return {
      {std::string(kProgId), "", "VeltranoModule"},
      {Key(kProgId, "CLSID"), "", std::string(kClsid)},
      {clsid, "", "VeltranoModule"},
      {Key(clsid, "InprocServer32"), "", p},
      {Key(clsid, "InprocServer32"), "ThreadingModel", "Apartment"},
      {Key(clsid, "ProgID"), "", std::string(kProgId)},
      {Key(clsid, "TypeLib"), "", std::string(kLibId)},
      {Key(clsid, "VERSION"), "", "1.0"},
      {typelib, "", "Veltrano"},
      {Key(typelib, "0", bits == 32 ? "win32" : "win64"), "", p},
      {Key(typelib, "FLAGS"), "", "0"},
      {interface, "", "_VeltranoModule"},
      {Key(interface, "ProxyStubClsid"), "", std::string(kTypeLibMarshaler)},
      {Key(interface, "ProxyStubClsid32"), "", std::string(kTypeLibMarshaler)},
      {Key(interface, "TypeLib"), "", std::string(kLibId)},
      {Key(interface, "TypeLib"), "Version", "1.0"},
  };
}

}  // namespace vt::interpreter
