#include "platform/workbook/internal/utf.h"

#include <algorithm>

namespace vt::workbook::detail {

namespace {

char* Put(char* out, std::uint32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

template <typename Unit>
std::size_t FromUtf16(Unit unit, std::size_t count, char* out) {
  char* start = out;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < count) {
      std::uint32_t low = unit(i + 1);
      if (low >= 0xDC00 && low < 0xE000) {
        out = Put(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    out = Put(out, u);
  }
  return static_cast<std::size_t>(out - start);
}

}  // namespace

std::size_t Latin1ToUtf8(const std::uint8_t* in, std::size_t count, char* out) {
  char* start = out;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t c = in[i];
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t Utf16ToUtf8(const char16_t* in, std::size_t count, char* out) {
  return FromUtf16([in](std::size_t i) { return static_cast<std::uint32_t>(in[i]); }, count, out);
}

std::size_t Utf16LeToUtf8(const std::uint8_t* in, std::size_t count, char* out) {
  return FromUtf16(
      [in](std::size_t i) { return static_cast<std::uint32_t>(in[2 * i] | (in[2 * i + 1] << 8)); },
      count, out);
}

namespace {

// Calls `unit` with each UTF-16 code unit of `text`; false when it is not
// UTF-8 (an encoded surrogate passes, as the reader makes them).
template <typename Unit>
bool EachUtf16Unit(std::string_view text, Unit unit) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = p + text.size();
  while (p < end) {
    std::uint32_t c = *p;
    if (c < 0x80) {
      unit(static_cast<char16_t>(c));
      ++p;
      continue;
    }
    int extra;
    std::uint32_t min;
    if ((c & 0xE0) == 0xC0) {
      extra = 1, min = 0x80, c &= 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2, min = 0x800, c &= 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3, min = 0x10000, c &= 0x07;
    } else {
      return false;
    }
    if (end - p <= extra) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF) return false;
    p += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      unit(static_cast<char16_t>(0xD800 + (c >> 10)));
      unit(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      unit(static_cast<char16_t>(c));
    }
  }
  return true;
}

}  // namespace

bool Utf8ToUtf16(std::string_view text, std::u16string& out) {
  out.clear();
  return EachUtf16Unit(text, [&out](char16_t u) { out.push_back(u); });
}

std::optional<Utf16Count> CountUtf16(std::string_view text) {
  Utf16Count count;
  if (!EachUtf16Unit(text, [&count](char16_t unit) {
        ++count.units;
        count.beyond_latin1 |= unit > 0xFF;
      })) {
    return std::nullopt;
  }
  return count;
}

bool BeyondLatin1(std::u16string_view units) {
  return std::any_of(units.begin(), units.end(), [](char16_t c) { return c > 0xFF; });
}

void AppendChars(Bytes& out, std::u16string_view units, bool high) {
  for (char16_t c : units) {
    if (high) {
      Append16(out, c);
    } else {
      out.push_back(static_cast<std::uint8_t>(c));
    }
  }
}

}  // namespace vt::workbook::detail
