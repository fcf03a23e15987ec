#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/coverage.h is private to its component"
#endif

// How complete each language is on the pictures an update run walked: the
// model behind the coverage report and the "Where used" sheet, made from what
// the run met and what the dictionary holds, with no workbook in sight.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "library/maintenance/place_log.h"

namespace vt::maintenance {

// What the dictionary holds for a shown text: its development-language text
// (the shown text itself when that cell is empty or the text is not there)
// and its cells in the reported columns, empty where there is no translation.
// The views must stay valid until BuildCoverage returns.
struct DictionaryEntry {
  std::string_view original;
  std::vector<std::string_view> cells;
};
using LookUp = std::function<DictionaryEntry(std::string_view text, std::int16_t language)>;

enum class TextState : std::uint8_t { kTranslated, kMissing, kTooLong };

struct Coverage {
  struct Text {
    std::string original;
    std::vector<TextState> states;  // by index of `languages`
    // The translations too long, by index of `languages`; empty when none is.
    std::vector<std::string> longs;
  };
  // A text as the pictures showed it, in the column of `language`: a picture
  // in the development language shows the originals themselves, one in
  // another language that language's cells.
  struct Shown {
    std::int16_t language = 0;
    std::string text;
    std::size_t original = 0;  // into `texts`
  };
  // A distinct shown text of one picture and the places there that show it.
  struct Use {
    std::size_t text;                 // into `texts`
    std::size_t shown;                // into `shown`
    std::vector<std::string> places;  // "Object.Property"
    // The picture showed the same original under another spelling before:
    // counted once.
    bool repeat = false;
  };
  // A text in groups nested deeper than translation goes, and where.
  struct Unreached {
    std::string text;
    std::vector<std::string> places;  // "Object.Property", or "Picture/..." over pictures
  };
  struct Picture {
    std::string name;
    std::int16_t language = 0;  // the one it was shown in when walked
    std::vector<Use> uses;
    std::vector<Unreached> unreached;  // distinct, in the order met
  };
  struct Counts {
    std::size_t texts = 0;
    std::size_t translated = 0;  // too long ones included
    std::size_t too_long = 0;
    std::size_t missing() const { return texts - translated; }
  };

  std::vector<std::int16_t> languages;  // the columns reported
  std::int16_t verified = 0;            // the column the run verified
  std::int16_t development = 0;
  double ratio = 0;                  // a translation longer than this times its original
  std::string dictionary;            // the file, as messages show it
  std::size_t dictionary_texts = 0;  // its rows with a development-language text
  std::string date;                  // yyyy-mm-dd
  std::vector<std::string> failed;   // pictures left out: their walk failed
  std::vector<Text> texts;           // distinct, in the order first met
  std::vector<Shown> shown;          // distinct, in the order first met
  std::vector<Picture> pictures;     // in the order walked

  TextState StateOf(std::size_t text, std::size_t language) const {
    return texts[text].states[language];
  }
  Counts CountsOf(const Picture& picture, std::size_t language) const;
  // Over every walked picture, each distinct text once.
  Counts Totals(std::size_t language) const;
  // "Picture/Object.Property" of every place of each text, by index of
  // `texts`; of the `wanted` ones only, when given.
  std::vector<std::vector<std::string>> PlacesByText(
      const std::function<bool(std::size_t)>& wanted = nullptr) const;
  // The same by index of `shown`.
  std::vector<std::vector<std::string>> PlacesByShown() const;
  // The texts translation does not reach over every walked picture, each
  // once, with their "Picture/Object.Property" places.
  std::vector<Unreached> UnreachedTexts() const;
};

// Gathers the texts of the walked pictures, each looked up once in the
// column of its picture's language; a translation is too long beyond `ratio`
// times its original, in characters.
Coverage BuildCoverage(const PlaceLog& log, std::vector<std::int16_t> languages, double ratio,
                       const LookUp& look_up);

// The language numbers of the header's "Language_<n>" columns, in order,
// without `development`.
std::vector<std::int16_t> ReportedLanguages(const std::vector<std::string>& header,
                                            std::int16_t development);

}  // namespace vt::maintenance
