#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data/quote.h"
#include "platform/data/table.h"

namespace vt::data {

// A parsed filter: `Field = 'text'` or `Field LIKE 'pattern'`.
//
// As the data-access component's filter does, LIKE knows the wildcards `*` and
// `%` only as the pattern's first and last character ('*pump*' contains,
// 'pump*' begins with, '*pump' ends with); every other character is literal,
// so an alarm text such as "50% [high]" or "Pump #1?" matches itself inside
// '*...*'. Texts compare ignoring letter case; the blanks that pad a
// fixed-length field never count. A Null value matches nothing.
struct Criteria {
  enum class Op { Equal, Like };

  std::string text;  // the criteria as given
  std::size_t field = 0;
  Op op = Op::Equal;
  bool any_prefix = false;  // LIKE pattern began with a wildcard
  bool any_suffix = false;  // LIKE pattern ended with a wildcard
  std::string folded;       // the literal (LIKE: without its wildcards), case-folded
  double number = 0;        // Equal on a Long field
};

// Raises an automation::Error naming the criteria and what is wrong: an
// unknown field, a missing operator or quote, text after the literal.
Criteria ParseCriteria(std::string_view text, const Table& table);

// The filter that FilterContains sets: `needle` anywhere in the field, taken
// literally whatever characters it holds.
Criteria ContainsCriteria(std::size_t field, std::string_view needle, const Table& table);

bool Matches(const Criteria& criteria, const Table& table, const std::vector<Cell>& row);

}  // namespace vt::data
