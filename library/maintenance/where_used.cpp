#include "library/maintenance/where_used.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/base/utf8.h"
#include "platform/workbook/workbook.h"

namespace vt::maintenance {
namespace {

constexpr std::size_t kCellUnits = workbook::kMaxTextUnits;
constexpr std::string_view kSeparator = "; ";
constexpr std::string_view kMoreLead = "\xE2\x80\xA6 and ";  // "… and "
constexpr std::string_view kMoreTail = " more";

std::string_view PictureOf(std::string_view place) { return place.substr(0, place.find('/')); }

bool IsMore(std::string_view part) {
  return part.starts_with(kMoreLead) && part.ends_with(kMoreTail);
}

}  // namespace

std::size_t CountPictures(const std::vector<std::string>& places) {
  if (!std::is_sorted(places.begin(), places.end())) {
    std::set<std::string_view> pictures;
    for (const std::string& place : places) pictures.insert(PictureOf(place));
    return pictures.size();
  }
  // Sorted, a picture's places are next to each other.
  std::size_t pictures = 0;
  std::string_view last;
  for (const std::string& place : places) {
    const std::string_view picture = PictureOf(place);
    if (pictures == 0 || picture != last) ++pictures;
    last = picture;
  }
  return pictures;
}

std::string JoinPlaces(const std::vector<std::string>& places) {
  std::size_t total = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    total += base::Utf16Length(places[i]) + (i > 0 ? kSeparator.size() : 0);
  }
  std::size_t kept = places.size();
  if (total > kCellUnits) {
    std::vector<std::size_t> units;
    units.reserve(places.size());
    for (const std::string& place : places) units.push_back(base::Utf16Length(place));
    // The most places that fit together with the note of how many are left
    // out ("…" is one unit).
    auto note = [&](std::size_t left) {
      return 1 + kMoreLead.size() - 3 + std::to_string(left).size() + kMoreTail.size();
    };
    std::size_t used = 0;
    kept = 0;
    while (kept + 1 < places.size()) {
      const std::size_t next = used + (kept > 0 ? kSeparator.size() : 0) + units[kept];
      if (next + kSeparator.size() + note(places.size() - kept - 1) > kCellUnits) break;
      used = next;
      ++kept;
    }
  }
  std::string joined;
  joined.reserve(total);
  for (std::size_t i = 0; i < kept; ++i) {
    if (i > 0) joined += kSeparator;
    joined += places[i];
  }
  if (kept < places.size()) {
    if (kept > 0) joined += kSeparator;
    joined += kMoreLead;
    joined += std::to_string(places.size() - kept);
    joined += kMoreTail;
  }
  return joined;
}

std::vector<std::string> SplitPlaces(std::string_view cell) {
  std::vector<std::string> places;
  while (!cell.empty()) {
    const std::size_t end = cell.find(kSeparator);
    const std::string_view part = cell.substr(0, end);
    if (!part.empty() && !(end == std::string_view::npos && IsMore(part)))
      places.emplace_back(part);
    if (end == std::string_view::npos) break;
    cell.remove_prefix(end + kSeparator.size());
  }
  return places;
}

namespace {

// Something per language column, for the few languages a sheet holds.
template <typename T>
class PerLanguage {
 public:
  T& operator[](std::string_view language) {
    for (auto& [name, value] : values_) {
      if (name == language) return value;
    }
    return values_.emplace_back(std::string(language), T{}).second;
  }
  const T* Find(std::string_view language) const {
    for (const auto& [name, value] : values_) {
      if (name == language) return &value;
    }
    return nullptr;
  }

 private:
  std::vector<std::pair<std::string, T>> values_;
};

std::string LanguageName(std::int16_t language) { return "Language_" + std::to_string(language); }

}  // namespace

std::vector<WhereUsedRow> MergeWhereUsed(const std::vector<WhereUsedRow>& previous,
                                         const Coverage& coverage) {
  // Asked of the rows of before only. A walked picture's places are what the
  // run met, in whichever language its places were before.
  std::unordered_set<std::string_view> walked;
  if (!previous.empty()) {
    for (const Coverage::Picture& picture : coverage.pictures) walked.insert(picture.name);
  }

  // What each place showed at the last run, by language.
  PerLanguage<std::unordered_map<std::string, std::string_view>> shown_before;
  for (const WhereUsedRow& row : previous) {
    auto& before = shown_before[row.language];
    for (std::string& place : SplitPlaces(row.places)) before.try_emplace(place, row.text);
  }

  // The texts the run met, by language and text (needed only to merge).
  PerLanguage<std::unordered_map<std::string_view, std::size_t>> shown_of;
  std::vector<std::vector<std::string>> places = coverage.PlacesByShown();
  std::vector<std::string> languages(coverage.shown.size());
  std::vector<std::string> was(coverage.shown.size());
  for (std::size_t shown = 0; shown < coverage.shown.size(); ++shown) {
    const Coverage::Shown& text = coverage.shown[shown];
    languages[shown] = LanguageName(text.language);
    if (!previous.empty()) shown_of[languages[shown]].emplace(text.text, shown);
    // In name order, whichever order the folder listed the pictures in.
    std::sort(places[shown].begin(), places[shown].end());
    const auto* before_here = shown_before.Find(languages[shown]);
    if (before_here == nullptr) continue;
    std::vector<std::string> changed;
    for (const std::string& place : places[shown]) {
      const auto before = before_here->find(place);
      if (before == before_here->end() || before->second == text.text) continue;
      if (std::find(changed.begin(), changed.end(), before->second) == changed.end()) {
        changed.emplace_back(before->second);
      }
    }
    was[shown] = JoinPlaces(changed);
  }

  // Rows of before keep their places in pictures the run did not walk.
  std::vector<WhereUsedRow> rows;
  rows.reserve(previous.size() + coverage.shown.size());
  for (const WhereUsedRow& row : previous) {
    std::vector<std::string> kept;
    const std::vector<std::string> before = SplitPlaces(row.places);
    for (const std::string& place : before) {
      if (!walked.contains(PictureOf(place))) kept.push_back(place);
    }
    std::optional<std::size_t> now;
    if (const auto* here = shown_of.Find(row.language)) {
      if (const auto found = here->find(row.text); found != here->end()) now = found->second;
    }
    if (now) {
      std::vector<std::string>& merged = places[*now];
      merged.insert(merged.end(), kept.begin(), kept.end());
      std::sort(merged.begin(), merged.end());
    } else if (kept.size() == before.size()) {
      rows.push_back(row);  // none of its pictures walked: as it was
    } else if (!kept.empty()) {
      WhereUsedRow& left = rows.emplace_back(row);
      left.places = JoinPlaces(kept);
      left.pictures = CountPictures(kept);
    }
  }
  for (std::size_t shown = 0; shown < coverage.shown.size(); ++shown) {
    // A text beyond a cell's size cannot be a dictionary text either.
    if (base::Utf16Length(coverage.shown[shown].text) > kCellUnits) continue;
    rows.push_back({coverage.shown[shown].text, std::move(languages[shown]),
                    JoinPlaces(places[shown]), CountPictures(places[shown]), std::move(was[shown]),
                    coverage.date});
  }

  // Sorted through their keys beside their indexes: a row is six strings to
  // move, and its keys are far apart in memory.
  struct Key {
    std::string_view text;
    std::string_view language;
    std::size_t row;
  };
  std::vector<Key> order;
  order.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    order.push_back({rows[i].text, rows[i].language, i});
  std::stable_sort(order.begin(), order.end(), [](const Key& a, const Key& b) {
    return std::tie(a.text, a.language) < std::tie(b.text, b.language);
  });
  std::vector<WhereUsedRow> sorted;
  sorted.reserve(rows.size());
  for (const Key& key : order) sorted.push_back(std::move(rows[key.row]));
  return sorted;
}

}  // namespace vt::maintenance
