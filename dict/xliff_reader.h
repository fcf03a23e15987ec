#pragma once

// The XLIFF 1.2 a translator's tool gives back: the files' languages and the
// trans-units' ids, sources and targets, each with the line it stands on.
// Anything that is not well-formed XLIFF 1.2 is a Failure naming the file,
// the line and what is wrong.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vt::dict {

struct Unit {
  std::size_t line = 0;
  std::string id;
  std::string source;
  std::optional<std::string> target;  // absent: no target element
  std::string state;                  // the target's state attribute
  std::string markup;                 // the first inline element of the target, if any
};

struct XliffFile {
  std::size_t line = 0;
  std::int16_t from = 0;
  std::int16_t to = 0;
  std::vector<Unit> units;
};

// The language number of a tag LanguageTag wrote.
std::optional<std::int16_t> LanguageOfTag(std::string_view tag);

// `name` is the file's name as the messages give it.
std::vector<XliffFile> ReadXliff(std::string_view bytes, const std::string& name);

}  // namespace vt::dict
