#pragma once

// Deterministic texts: the same seed gives the same dictionaries, pictures
// and lookup sequences on every machine and in every run.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vt::bench {

// The seed of every dictionary's padding.
inline constexpr std::uint64_t kDictionarySeed = 20240613;

// SplitMix64: fully specified, unlike the standard distributions.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // Uniform in [0, n).
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
  // True with probability `percent` / 100.
  bool Percent(unsigned percent) { return Below(100) < percent; }

 private:
  std::uint64_t state_;
};

// The text of dictionary row `row` (from 1) in language `language` (from 1):
// labels of one to three words and some long descriptions, each language in
// its own words and script, the row's number keeping every text of a column
// distinct.
std::string DictionaryText(std::size_t row, int language);

// A text of the development language that no dictionary row holds.
std::string NewText(const std::string& tag, std::size_t number);

// "Language_1" ... "Language_<languages>".
std::vector<std::string> LanguageHeaders(int languages);

// The cells of rows 1..rows; with `padded_percent`, that share of the cells
// gets one to three spaces before, after or around it.
using Cells = std::vector<std::vector<std::string>>;
Cells DictionaryCells(std::size_t rows, int languages, unsigned padded_percent, std::uint64_t seed);

}  // namespace vt::bench
