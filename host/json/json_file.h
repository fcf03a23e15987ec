#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "host/json/json_path.h"
#include "platform/automation/error.h"

namespace vt::host::json {

// The automation error a file of the wrong shape raises ("Invalid file format").
inline constexpr std::int32_t kInvalidFileFormat = 321;

// A host file that is not what it should be. The description names the file,
// the line and column, and what was expected there:
//   "/p/Main.grf", line 4, column 17: "ContainedObjects" must be an array
class MalformedFile : public automation::Error {
 public:
  MalformedFile(std::string_view path, TextPosition at, std::string_view expected);
};

// A JSON file as read, kept with its text so that later checks of its
// contents can name where the offending value is written.
class JsonSource {
 public:
  // Reads and parses the file. A missing file is error 53 naming the path, an
  // unreadable one error 75; bad JSON and nesting deeper than `kMaxDepth` are
  // MalformedFile; a file larger than `kMaxFileSize` is error 321, found
  // before it is read.
  static JsonSource Load(const std::string& path);
  // The same from text already in hand; `path` only names it in errors.
  static JsonSource Parse(std::string path, std::string text);

  const std::string& path() const { return path_; }
  nlohmann::ordered_json& root() { return root_; }

  // Raises MalformedFile at the value found at `at`.
  [[noreturn]] void Fail(const JsonPath& at, std::string_view expected) const;

  // Deeper than any real picture or form; keeps saving and copying bounded.
  static constexpr std::size_t kMaxDepth = 200;
  // Far beyond any real picture or form (their texts are a few megabytes at
  // most), and what the host may hold in memory several times over.
  static constexpr std::uint64_t kMaxFileSize = std::uint64_t{64} << 20;

 private:
  JsonSource(std::string path, std::string text);

  std::string path_;
  std::string text_;
  nlohmann::ordered_json root_;
};

// Writes `root` with two-space indentation, keys in their order, UTF-8, all at
// once (the file is replaced atomically or left as it was).
void WriteJsonFile(const std::string& path, const nlohmann::ordered_json& root);

// `key` as a message quotes it: "Caption".
std::string Quoted(std::string_view key);

}  // namespace vt::host::json
