#include "host/json/json_path.h"

#include <nlohmann/json.hpp>
#include <string>

// A locator for values inside JSON text that has already parsed cleanly: the
// parser keeps no positions, and errors about a value's type or content must
// still name the line and column where it is written.
namespace vt::host::json {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::size_t SkipBlanks(std::string_view text, std::size_t at) {
  while (at < text.size() && IsBlank(text[at])) ++at;
  return at;
}

// `at` is on the opening quote; returns the offset just past the closing one.
std::size_t SkipString(std::string_view text, std::size_t at) {
  ++at;
  while (at < text.size() && text[at] != '"') {
    at += text[at] == '\\' ? std::size_t{2} : std::size_t{1};
  }
  return at + 1;
}

// Returns the offset just past the value that begins at `at`; nesting is
// counted, not recursed into, so any depth is safe.
std::size_t SkipValue(std::string_view text, std::size_t at) {
  std::size_t depth = 0;
  while (at < text.size()) {
    const char c = text[at];
    if (c == '"') {
      at = SkipString(text, at);
      if (depth == 0) return at;
      continue;
    }
    if (c == '{' || c == '[') {
      ++depth;
    } else if (c == '}' || c == ']') {
      if (depth == 0) return at;  // the end of a scalar's container
      if (--depth == 0) return at + 1;
    } else if (depth == 0 && (c == ',' || IsBlank(c))) {
      return at;
    }
    ++at;
  }
  return at;
}

std::string KeyAt(std::string_view text, std::size_t at) {
  const std::size_t end = SkipString(text, at);
  return nlohmann::json::parse(text.substr(at, end - at)).get<std::string>();
}

// The offset of member `key` of the object opening at `at`, or npos.
std::size_t FindMember(std::string_view text, std::size_t at, const std::string& key) {
  at = SkipBlanks(text, at + 1);
  while (at < text.size() && text[at] == '"') {
    const bool match = KeyAt(text, at) == key;
    at = SkipBlanks(text, SkipString(text, at));
    at = SkipBlanks(text, at + 1);  // past the colon
    if (match) return at;
    at = SkipBlanks(text, SkipValue(text, at));
    if (at < text.size() && text[at] == ',') at = SkipBlanks(text, at + 1);
  }
  return std::string_view::npos;
}

// The offset of element `index` of the array opening at `at`, or npos.
std::size_t FindElement(std::string_view text, std::size_t at, std::size_t index) {
  at = SkipBlanks(text, at + 1);
  for (std::size_t i = 0; at < text.size() && text[at] != ']'; ++i) {
    if (i == index) return at;
    at = SkipBlanks(text, SkipValue(text, at));
    if (at < text.size() && text[at] == ',') at = SkipBlanks(text, at + 1);
  }
  return std::string_view::npos;
}

}  // namespace

TextPosition PositionOf(std::string_view text, std::size_t offset) {
  if (offset > text.size()) offset = text.size();
  TextPosition position;
  for (std::size_t i = 0; i < offset; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      ++position.line;
      position.column = 1;
    } else if ((byte & 0xC0) != 0x80) {
      ++position.column;
    }
  }
  return position;
}

std::size_t OffsetOf(std::string_view text, const JsonPath& path) {
  std::size_t at = SkipBlanks(text, 0);
  for (const auto& step : path) {
    std::size_t next = std::string_view::npos;
    if (at < text.size() && text[at] == '{' && std::holds_alternative<std::string>(step)) {
      next = FindMember(text, at, std::get<std::string>(step));
    } else if (at < text.size() && text[at] == '[' && std::holds_alternative<std::size_t>(step)) {
      next = FindElement(text, at, std::get<std::size_t>(step));
    }
    if (next == std::string_view::npos) break;
    at = next;
  }
  return at;
}

std::size_t FirstOffsetDeeperThan(std::string_view text, std::size_t max_depth) {
  std::size_t depth = 0;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == '"') {
      at = SkipString(text, at);
      continue;
    }
    if (c == '{' || c == '[') {
      if (++depth > max_depth) return at;
    } else if (c == '}' || c == ']') {
      --depth;
    }
    ++at;
  }
  return std::string_view::npos;
}

std::size_t FirstNumberSpelled(std::string_view text, std::string_view token) {
  const auto in_number = [](char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
  };
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if (c == '"') {
      at = SkipString(text, at);
      continue;
    }
    if (!in_number(c)) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && in_number(text[end])) ++end;
    if (text.substr(at, end - at) == token) return at;
    at = end;
  }
  return std::string_view::npos;
}

}  // namespace vt::host::json
