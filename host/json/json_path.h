#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vt::host::json {

// Where a value sits in a document: object keys and array indexes from the root.
using JsonPath = std::vector<std::variant<std::string, std::size_t>>;

// A position in a text, both counted from 1; columns count characters, not bytes.
struct TextPosition {
  std::size_t line = 1;
  std::size_t column = 1;
};

// The line and column of the byte at `offset` (clamped to the end of `text`).
TextPosition PositionOf(std::string_view text, std::size_t offset);

// The byte offset where the value at `path` begins in `text`, which must be
// well-formed JSON. Stops at the deepest value of the path that exists.
std::size_t OffsetOf(std::string_view text, const JsonPath& path);

// The offset of the first bracket that opens a level deeper than `max_depth`,
// or npos when the text never nests that deep. The text must be well-formed
// JSON at least up to that bracket.
std::size_t FirstOffsetDeeperThan(std::string_view text, std::size_t max_depth);

// The offset of the first number outside strings spelled exactly `token`, or
// npos. The text must be well-formed JSON at least up to that number.
std::size_t FirstNumberSpelled(std::string_view text, std::string_view token);

}  // namespace vt::host::json
