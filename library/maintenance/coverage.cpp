#include "library/maintenance/coverage.h"

#include <charconv>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "platform/base/ascii.h"
#include "platform/base/utf8.h"

namespace vt::maintenance {

namespace {

void Count(Coverage::Counts& counts, TextState state) {
  ++counts.texts;
  if (state != TextState::kMissing) ++counts.translated;
  if (state == TextState::kTooLong) ++counts.too_long;
}

}  // namespace

Coverage::Counts Coverage::CountsOf(const Picture& picture, std::size_t language) const {
  Counts counts;
  for (const Use& use : picture.uses) {
    if (!use.repeat) Count(counts, StateOf(use.text, language));
  }
  return counts;
}

Coverage::Counts Coverage::Totals(std::size_t language) const {
  // Every text of `texts` is shown by some walked picture.
  Counts counts;
  for (std::size_t text = 0; text < texts.size(); ++text) Count(counts, StateOf(text, language));
  return counts;
}

namespace {

template <typename Key>
std::vector<std::vector<std::string>> PlacesBy(const Coverage& coverage, std::size_t keys,
                                               const Key& key_of) {
  std::vector<std::vector<std::string>> places(keys);
  for (const Coverage::Picture& picture : coverage.pictures) {
    for (const Coverage::Use& use : picture.uses) {
      const std::size_t key = key_of(use);
      if (key == SIZE_MAX) continue;
      for (const std::string& place : use.places) {
        std::string& joined = places[key].emplace_back();
        joined.reserve(picture.name.size() + 1 + place.size());
        joined += picture.name;
        joined += '/';
        joined += place;
      }
    }
  }
  return places;
}

}  // namespace

std::vector<std::vector<std::string>> Coverage::PlacesByText(
    const std::function<bool(std::size_t)>& wanted) const {
  return PlacesBy(*this, texts.size(), [&](const Use& use) {
    return !wanted || wanted(use.text) ? use.text : SIZE_MAX;
  });
}

std::vector<std::vector<std::string>> Coverage::PlacesByShown() const {
  return PlacesBy(*this, shown.size(), [](const Use& use) { return use.shown; });
}

std::vector<Coverage::Unreached> Coverage::UnreachedTexts() const {
  std::vector<Unreached> listed;
  std::unordered_map<std::string_view, std::size_t> index;
  for (const Picture& picture : pictures) {
    for (const Unreached& text : picture.unreached) {
      const auto [at, unseen] = index.try_emplace(text.text, listed.size());
      if (unseen) listed.push_back({text.text, {}});
      for (const std::string& place : text.places) {
        listed[at->second].places.push_back(picture.name + '/' + place);
      }
    }
  }
  return listed;
}

Coverage BuildCoverage(const PlaceLog& log, std::vector<std::int16_t> languages, double ratio,
                       const LookUp& look_up) {
  Coverage coverage;
  coverage.languages = std::move(languages);
  coverage.ratio = ratio;
  coverage.failed = log.Failed();
  // The views stay valid while this runs: into the log, or what the look-up
  // returned (the dictionary is not saved meanwhile).
  std::size_t shown_texts = 0;
  for (const WalkedPicture& walked : log.Pictures()) shown_texts += walked.texts.size();
  std::unordered_map<std::string_view, std::size_t> by_original;
  by_original.reserve(shown_texts);
  // The same shown text is looked up once, per column it was looked up in.
  std::vector<std::pair<std::int16_t, std::unordered_map<std::string_view, std::size_t>>> by_shown;
  // Where each shown text was last used: the picture and its use there; and
  // the last picture that showed each original.
  std::vector<std::pair<std::size_t, std::size_t>> last_use;
  std::vector<std::size_t> last_picture_of_text;
  constexpr std::size_t kNone = SIZE_MAX;
  std::unordered_map<std::string_view, std::size_t> unreached;  // of one picture
  for (const WalkedPicture& walked : log.Pictures()) {
    const std::size_t picture_index = coverage.pictures.size();
    Coverage::Picture& picture = coverage.pictures.emplace_back();
    picture.name = walked.name;
    picture.language = walked.language;
    auto column = by_shown.begin();
    while (column != by_shown.end() && column->first != walked.language) ++column;
    if (column == by_shown.end() && !walked.texts.empty()) {
      column = by_shown.insert(column, {walked.language, {}});
      column->second.reserve(shown_texts);
    }
    for (const ShownText& shown : walked.texts) {
      // One hash and probe for each text met, and one more for each distinct.
      const auto [found, unseen] = column->second.try_emplace(shown.text, kNone);
      if (unseen) {
        const DictionaryEntry entry = look_up(shown.text, walked.language);
        const auto [at, distinct] = by_original.try_emplace(entry.original, coverage.texts.size());
        if (distinct) {
          Coverage::Text& text = coverage.texts.emplace_back();
          text.original = entry.original;
          const auto limit = ratio * static_cast<double>(base::Utf8Length(text.original));
          text.states.resize(coverage.languages.size(), TextState::kMissing);
          for (std::size_t i = 0; i < entry.cells.size() && i < text.states.size(); ++i) {
            const std::string_view cell = entry.cells[i];
            if (cell.empty()) continue;
            text.states[i] = TextState::kTranslated;
            // No longer in characters than in bytes: most need no count.
            if (static_cast<double>(cell.size()) > limit &&
                static_cast<double>(base::Utf8Length(cell)) > limit) {
              text.states[i] = TextState::kTooLong;
              text.longs.resize(coverage.languages.size());
              text.longs[i] = cell;
            }
          }
          last_picture_of_text.push_back(kNone);
        }
        found->second = coverage.shown.size();
        coverage.shown.push_back({walked.language, shown.text, at->second});
        last_use.emplace_back(kNone, kNone);
      }
      const std::size_t spelling = found->second;
      auto& [last_picture, use] = last_use[spelling];
      if (last_picture != picture_index) {
        last_picture = picture_index;
        use = picture.uses.size();
        const std::size_t text = coverage.shown[spelling].original;
        const bool repeat = last_picture_of_text[text] == picture_index;
        last_picture_of_text[text] = picture_index;
        picture.uses.push_back({text, spelling, {}, repeat});
      }
      std::string place = shown.object;
      place += '.';
      place += shown.property;
      picture.uses[use].places.push_back(std::move(place));
    }
    unreached.clear();
    for (const ShownText& deep : walked.unreached) {
      const auto [at, unseen] = unreached.try_emplace(deep.text, picture.unreached.size());
      if (unseen) picture.unreached.push_back({deep.text, {}});
      picture.unreached[at->second].places.push_back(deep.object + '.' +
                                                     std::string(deep.property));
    }
  }
  return coverage;
}

std::vector<std::int16_t> ReportedLanguages(const std::vector<std::string>& header,
                                            std::int16_t development) {
  constexpr std::string_view kPrefix = "Language_";
  std::vector<std::int16_t> languages;
  for (const std::string& name : header) {
    if (name.size() <= kPrefix.size() ||
        !base::EqualsIgnoringAsciiCase(std::string_view(name).substr(0, kPrefix.size()), kPrefix)) {
      continue;
    }
    const char* first = name.data() + kPrefix.size();
    const char* last = name.data() + name.size();
    std::int16_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    // Only the spelling the library looks for: "Language_05" is not column 5.
    if (error != std::errc() || end != last || std::to_string(number) != std::string(first, last) ||
        number == development) {
      continue;
    }
    bool known = false;
    for (const std::int16_t language : languages) known = known || language == number;
    if (!known) languages.push_back(number);
  }
  return languages;
}

}  // namespace vt::maintenance
