#pragma once
// The keys that make the server known to the system: written by
// DllRegisterServer and, as rows of the installer package, by the installer.
// One table for both, so the two can never differ.

#include <string>
#include <string_view>
#include <vector>

namespace vt::interpreter {

// One value under HKEY_CLASSES_ROOT.
struct RegistryRow {
  std::string key;
  std::string name;  // empty: the key's default value
  std::string value;
};

// Every value the registration of the server built for `bits` (32 or 64)
// writes, keys before their subkeys; `path` is the server's file as the
// system names it. Unregistering removes these values and then every key
// left empty, so keys another registration still uses stay.
std::vector<RegistryRow> ServerRegistration(int bits, std::string_view path);

}  // namespace vt::interpreter
