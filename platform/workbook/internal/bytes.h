#pragma once

#include "platform/workbook/internal/private.h"

// Little-endian access to byte buffers. Readers take the caller's bounds
// check for granted; every caller checks sizes before reading.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace vt::workbook::detail {

// A damaged or unsupported file; the public layer adds the file name.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A sound file of another kind, or one we may not read (password).
class NotAWorkbook : public FormatError {
 public:
  using FormatError::FormatError;
};

using Bytes = std::vector<std::uint8_t>;

inline std::uint16_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t Get64(const std::uint8_t* p) {
  return static_cast<std::uint64_t>(Get32(p)) | (static_cast<std::uint64_t>(Get32(p + 4)) << 32);
}
inline double GetDouble(const std::uint8_t* p) {
  std::uint64_t bits = Get64(p);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline void Put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::uint8_t* p, std::uint32_t v) {
  Put16(p, v & 0xFFFF);
  Put16(p + 2, v >> 16);
}

inline void Append16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Append32(Bytes& out, std::uint32_t v) {
  Append16(out, v & 0xFFFF);
  Append16(out, v >> 16);
}
inline void AppendBytes(Bytes& out, const std::uint8_t* p, std::size_t n) {
  out.insert(out.end(), p, p + n);
}

std::string Hex(std::size_t value);

}  // namespace vt::workbook::detail
