// Writes case_tables.inc from ICU's data: run it after ICU changes (the test
// CaseTables.MatchIcu says when):
//   build/default/bin/make_case_tables > platform/unicode/case_tables.inc

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Run {
  std::uint32_t first, last, stride;
  std::int32_t delta;
};

// Code points whose mapping is c + delta, grouped in runs of equal delta at
// a stride of 1 or 2 (Unicode pairs capitals and small letters either way).
std::vector<Run> Runs(std::int32_t (*map)(std::int32_t)) {
  std::vector<Run> runs;
  for (std::uint32_t c = 0; c <= 0x10FFFF; ++c) {
    const std::int32_t delta = map(static_cast<std::int32_t>(c)) - static_cast<std::int32_t>(c);
    if (delta == 0) continue;
    if (!runs.empty()) {
      Run& last = runs.back();
      const std::uint32_t step = c - last.last;
      if (last.delta == delta && (last.first == last.last ? step <= 2 : step == last.stride)) {
        last.stride = step;
        last.last = c;
        continue;
      }
    }
    runs.push_back({c, c, 1, delta});
  }
  return runs;
}

std::int32_t Upper(std::int32_t c) { return u_toupper(c); }
std::int32_t Lower(std::int32_t c) { return u_tolower(c); }

void Print(const char* name, const std::vector<Run>& runs) {
  std::printf("constexpr CaseRun %s[] = {\n", name);
  for (const Run& r : runs) {
    std::printf("    {0x%X, 0x%X, %u, %d},\n", r.first, r.last, r.stride, r.delta);
  }
  std::printf("};\n\n");
}

}  // namespace

int main() {
  std::printf("// Made by make_case_tables.cpp from ICU %s; do not edit.\n\n", U_ICU_VERSION);
  Print("kUpperRuns", Runs(Upper));
  Print("kLowerRuns", Runs(Lower));
  // Full folding: one code point to one (as runs) or to several.
  std::vector<Run> single;
  std::printf("constexpr CaseExpansion kFoldExpansions[] = {\n");
  for (std::uint32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    icu::UnicodeString folded(static_cast<UChar32>(c));
    folded.foldCase();
    if (folded.countChar32() > 1) {
      std::printf("    {0x%X, {", c);
      for (std::int32_t i = 0; i < folded.length(); i = folded.moveIndex32(i, 1)) {
        std::printf("0x%X, ", static_cast<unsigned>(folded.char32At(i)));
      }
      std::printf("}},\n");
    }
  }
  std::printf("};\n\n");
  Print("kFoldRuns", Runs([](std::int32_t c) {
          if (c >= 0xD800 && c <= 0xDFFF) return c;
          icu::UnicodeString folded(static_cast<UChar32>(c));
          folded.foldCase();
          return folded.countChar32() == 1 ? static_cast<std::int32_t>(folded.char32At(0)) : c;
        }));
  return 0;
}
