#pragma once

#include <cstddef>
#include <string>

namespace vt::data {

enum class FieldType {
  FixedText,  // text of a fixed length, padded with blanks that never count
  Long,       // 32-bit signed integer
  Text,       // text of any length
};

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  std::size_t size = 0;  // FixedText: the length in characters; otherwise unused
  bool nullable = true;

  static FieldDef FixedText(std::string name, std::size_t size, bool nullable = true) {
    return {std::move(name), FieldType::FixedText, size, nullable};
  }
  static FieldDef Long(std::string name, bool nullable = true) {
    return {std::move(name), FieldType::Long, 0, nullable};
  }
  static FieldDef Text(std::string name, bool nullable = true) {
    return {std::move(name), FieldType::Text, 0, nullable};
  }
};

}  // namespace vt::data
