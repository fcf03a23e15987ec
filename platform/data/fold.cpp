#include "platform/data/fold.h"

#include "platform/base/ascii.h"
#include "platform/unicode/case_map.h"

namespace vt::data {

std::string FoldCase(std::string_view text) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80U;
  // The common case, without the Unicode tables.
  if (ascii) return base::ToAsciiLower(text);
  return unicode::FullFold(text);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return FoldCase(a) == FoldCase(b);
}

}  // namespace vt::data
