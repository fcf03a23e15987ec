#pragma once

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

// Helpers for tests of the host's picture and form files.
namespace vt::testing {

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Every leaf of `value` as "pointer=value", in document order, so that two
// files compare key by key with their order.
inline void Flatten(const nlohmann::ordered_json& value, const std::string& at,
                    std::vector<std::string>& out) {
  if (value.is_object()) {
    out.push_back(at + "{}");
    for (const auto& [key, member] : value.items()) Flatten(member, at + "/" + key, out);
  } else if (value.is_array()) {
    out.push_back(at + "[]");
    for (std::size_t i = 0; i < value.size(); ++i) {
      Flatten(value[i], at + "/" + std::to_string(i), out);
    }
  } else {
    out.push_back(at + "=" + value.dump());
  }
}

inline std::vector<std::string> Flatten(const nlohmann::ordered_json& value) {
  std::vector<std::string> out;
  Flatten(value, "", out);
  return out;
}

inline nlohmann::ordered_json ReadJson(const std::filesystem::path& path) {
  return nlohmann::ordered_json::parse(ReadText(path));
}

}  // namespace vt::testing
