#include "platform/data/fold.h"

#include <unicode/unistr.h>

#include "platform/base/ascii.h"

namespace vt::data {

std::string FoldCase(std::string_view text) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80U;
  std::string folded;
  if (ascii) {
    // The common case, without a round trip through UTF-16.
    return base::ToAsciiLower(text);
  }
  icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
      .foldCase()
      .toUTF8String(folded);
  return folded;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return FoldCase(a) == FoldCase(b);
}

}  // namespace vt::data
