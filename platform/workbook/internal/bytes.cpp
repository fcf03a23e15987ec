#include "platform/workbook/internal/bytes.h"

#include <cstdio>

namespace vt::workbook::detail {

std::string Hex(std::size_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%zX", value);
  return buffer;
}

}  // namespace vt::workbook::detail
