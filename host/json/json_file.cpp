#include "host/json/json_file.h"

#include <cerrno>
#include <optional>
#include <utility>

#include "platform/system/env.h"

namespace vt::host::json {
namespace {

std::string Describe(std::string_view path, TextPosition at, std::string_view expected) {
  return Quoted(path) + ", line " + std::to_string(at.line) + ", column " +
         std::to_string(at.column) + ": " + std::string(expected);
}

// nlohmann's message reads "[json.exception.parse_error.101] parse error at
// line 1, column 5: <what went wrong>"; the position is recomputed in
// characters, so only what went wrong is kept.
std::string ParseProblem(const std::string& what) {
  const std::size_t start = what.find("parse error");
  if (start == std::string::npos) return what;
  const std::size_t colon = what.find(": ", start);
  return colon == std::string::npos ? what : what.substr(colon + 2);
}

}  // namespace

MalformedFile::MalformedFile(std::string_view path, TextPosition at, std::string_view expected)
    : automation::Error(kInvalidFileFormat, Describe(path, at, expected)) {}

std::string Quoted(std::string_view key) { return "\"" + std::string(key) + "\""; }

JsonSource::JsonSource(std::string path, std::string text)
    : path_(std::move(path)), text_(std::move(text)) {}

JsonSource JsonSource::Load(const std::string& path) {
  system::Env& env = system::CurrentEnv();
  if (!env.FileExists(path)) {
    throw automation::Error(automation::errors::kFileNotFound, "File not found: " + path);
  }
  std::string text;
  try {
    // Looked at before it is read: a huge file would be read whole only to
    // be refused.
    const std::optional<system::FileStamp> stamp = env.StatFile(path);
    if (stamp && stamp->size > kMaxFileSize) {
      throw automation::Error(kInvalidFileFormat,
                              Quoted(path) + ": the file holds " + std::to_string(stamp->size) +
                                  " bytes, more than the " + std::to_string(kMaxFileSize >> 20) +
                                  " MiB a picture or form file may hold");
    }
    text = env.ReadFile(path);
  } catch (const system::SystemError& e) {
    if (e.code().value() == ENOENT) {
      throw automation::Error(automation::errors::kFileNotFound, "File not found: " + path);
    }
    throw automation::errors::FileAccess(e.what());
  }
  return Parse(path, std::move(text));
}

JsonSource JsonSource::Parse(std::string path, std::string text) {
  JsonSource source(std::move(path), std::move(text));
  // The parser is stopped at the first value too deep, before it has built
  // (or anything later walks) a tree that deep.
  struct TooDeep {};
  const auto bound = [](int depth, nlohmann::ordered_json::parse_event_t event,
                        nlohmann::ordered_json&) {
    using Event = nlohmann::ordered_json::parse_event_t;
    if ((event == Event::object_start || event == Event::array_start) &&
        static_cast<std::size_t>(depth) >= kMaxDepth) {
      throw TooDeep{};
    }
    return true;
  };
  try {
    source.root_ = nlohmann::ordered_json::parse(source.text_, bound);
  } catch (const nlohmann::json::parse_error& e) {
    const std::size_t offset = e.byte == 0 ? 0 : e.byte - 1;
    throw MalformedFile(source.path_, PositionOf(source.text_, offset), ParseProblem(e.what()));
  } catch (const nlohmann::json::out_of_range& e) {
    // A number beyond what a double holds; the message quotes it, the
    // exception keeps no place.
    const std::string what = e.what();
    const std::size_t open = what.find(" '");
    const std::size_t close = what.rfind('\'');
    const std::string token = open == std::string::npos || close <= open + 1
                                  ? ""
                                  : what.substr(open + 2, close - open - 2);
    const std::size_t at = token.empty() ? 0 : FirstNumberSpelled(source.text_, token);
    const std::string shown = token.size() > 40 ? token.substr(0, 40) + "..." : token;
    throw MalformedFile(source.path_, PositionOf(source.text_, at == std::string::npos ? 0 : at),
                        "the number " + shown + " is too large");
  } catch (const TooDeep&) {
    // Everything before the deep bracket parsed, so the locator finds it.
    throw MalformedFile(source.path_,
                        PositionOf(source.text_, FirstOffsetDeeperThan(source.text_, kMaxDepth)),
                        "values nested more than " + std::to_string(kMaxDepth) + " levels deep");
  }
  return source;
}

void JsonSource::Fail(const JsonPath& at, std::string_view expected) const {
  throw MalformedFile(path_, PositionOf(text_, OffsetOf(text_, at)), expected);
}

void WriteJsonFile(const std::string& path, const nlohmann::ordered_json& root) {
  std::string text;
  try {
    text = root.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::strict);
  } catch (const nlohmann::json::type_error& e) {
    throw automation::errors::FileAccess("cannot write " + path + ": " + e.what());
  }
  text += '\n';
  try {
    system::CurrentEnv().WriteFileAtomic(path, text);
  } catch (const system::SystemError& e) {
    throw automation::errors::FileAccess(e.what());
  }
}

}  // namespace vt::host::json
