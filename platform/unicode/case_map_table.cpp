#include <algorithm>
#include <cstdint>

#include "platform/base/utf8.h"
#include "platform/unicode/case_map.h"

namespace vt::unicode::table {

namespace {

struct CaseRun {
  std::uint32_t first, last, stride;
  std::int32_t delta;
};

struct CaseExpansion {
  std::uint32_t from;
  std::uint32_t to[3];
};

#include "platform/unicode/case_tables.inc"

template <std::size_t N>
char32_t Map(const CaseRun (&runs)[N], char32_t c) {
  const auto* run = std::upper_bound(std::begin(runs), std::end(runs), c,
                                     [](char32_t v, const CaseRun& r) { return v < r.first; });
  if (run == std::begin(runs)) return c;
  --run;
  if (c > run->last || (c - run->first) % run->stride != 0) return c;
  return static_cast<char32_t>(static_cast<std::int64_t>(c) + run->delta);
}

template <typename Map1>
std::string MapEach(std::string_view text, Map1 map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const base::Utf8Step step = base::Utf8Next(text, i);
    if (step.ok) {
      base::AppendUtf8(map(step.value), out);
    } else {
      out.append(text.substr(i, step.next - i));  // kept as it was
    }
    i = step.next;
  }
  return out;
}

}  // namespace

char32_t Upper(char32_t c) { return Map(kUpperRuns, c); }
char32_t Lower(char32_t c) { return Map(kLowerRuns, c); }

void AppendFold(char32_t c, std::u32string& out) {
  const auto* found =
      std::lower_bound(std::begin(kFoldExpansions), std::end(kFoldExpansions), c,
                       [](const CaseExpansion& e, char32_t v) { return e.from < v; });
  if (found != std::end(kFoldExpansions) && found->from == c) {
    for (const std::uint32_t part : found->to) {
      if (part != 0) out.push_back(part);
    }
    return;
  }
  out.push_back(Map(kFoldRuns, c));
}

std::string SimpleUpper(std::string_view text) { return MapEach(text, Upper); }
std::string SimpleLower(std::string_view text) { return MapEach(text, Lower); }

std::string FullFold(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::u32string folded;
  for (std::size_t i = 0; i < text.size();) {
    const base::Utf8Step step = base::Utf8Next(text, i);
    folded.clear();
    AppendFold(step.ok ? step.value : U'\uFFFD', folded);
    for (const char32_t c : folded) base::AppendUtf8(c, out);
    i = step.next;
  }
  return out;
}

}  // namespace vt::unicode::table
