#include "platform/unicode/case_map.h"

namespace vt::unicode {

std::string SimpleUpper(std::string_view text) { return table::SimpleUpper(text); }
std::string SimpleLower(std::string_view text) { return table::SimpleLower(text); }
std::string FullFold(std::string_view text) { return table::FullFold(text); }

}  // namespace vt::unicode
