#include "library/maintenance/where_used.h"

#include <algorithm>
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

std::string Count(const std::vector<std::string>& places) {
  if (!std::is_sorted(places.begin(), places.end())) {
    std::set<std::string_view> pictures;
    for (const std::string& place : places) pictures.insert(PictureOf(place));
    return std::to_string(pictures.size());
  }
  // Sorted, a picture's places are next to each other.
  std::size_t pictures = 0;
  std::string_view last;
  for (const std::string& place : places) {
    const std::string_view picture = PictureOf(place);
    if (pictures == 0 || picture != last) ++pictures;
    last = picture;
  }
  return std::to_string(pictures);
}

bool IsMore(std::string_view part) {
  return part.starts_with(kMoreLead) && part.ends_with(kMoreTail);
}

}  // namespace

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

std::vector<WhereUsedRow> MergeWhereUsed(const std::vector<WhereUsedRow>& previous,
                                         const Coverage& coverage) {
  const std::string language = "Language_" + std::to_string(coverage.verified);
  // Asked of the rows of before only.
  std::unordered_set<std::string_view> walked;
  if (!previous.empty()) {
    for (const Coverage::Picture& picture : coverage.pictures) walked.insert(picture.name);
  }

  // What each place of this language showed at the last run.
  std::unordered_map<std::string, std::string_view> shown_before;
  for (const WhereUsedRow& row : previous) {
    if (row.language != language) continue;
    for (std::string& place : SplitPlaces(row.places)) shown_before.try_emplace(place, row.text);
  }

  // The texts the run met, by their original (needed only to merge).
  std::unordered_map<std::string_view, std::size_t> text_of;
  std::vector<std::vector<std::string>> places = coverage.PlacesByText();
  std::vector<std::string> was(coverage.texts.size());
  for (std::size_t text = 0; text < coverage.texts.size(); ++text) {
    const std::string& original = coverage.texts[text].original;
    if (!previous.empty()) text_of.emplace(original, text);
    // In name order, whichever order the folder listed the pictures in.
    std::sort(places[text].begin(), places[text].end());
    if (shown_before.empty()) continue;
    std::vector<std::string> changed;
    for (const std::string& place : places[text]) {
      const auto before = shown_before.find(place);
      if (before == shown_before.end() || before->second == original) continue;
      if (std::find(changed.begin(), changed.end(), before->second) == changed.end()) {
        changed.emplace_back(before->second);
      }
    }
    was[text] = JoinPlaces(changed);
  }

  // Rows of this language keep their places in pictures the run did not walk.
  std::vector<WhereUsedRow> rows;
  rows.reserve(previous.size() + coverage.texts.size());
  for (const WhereUsedRow& row : previous) {
    if (row.language != language) {
      rows.push_back(row);
      continue;
    }
    std::vector<std::string> kept;
    const std::vector<std::string> before = SplitPlaces(row.places);
    for (const std::string& place : before) {
      if (!walked.contains(PictureOf(place))) kept.push_back(place);
    }
    if (const auto now = text_of.find(row.text); now != text_of.end()) {
      std::vector<std::string>& merged = places[now->second];
      merged.insert(merged.end(), kept.begin(), kept.end());
      std::sort(merged.begin(), merged.end());
    } else if (kept.size() == before.size()) {
      rows.push_back(row);  // none of its pictures walked: as it was
    } else if (!kept.empty()) {
      WhereUsedRow& left = rows.emplace_back(row);
      left.places = JoinPlaces(kept);
      left.pictures = Count(kept);
    }
  }
  for (std::size_t text = 0; text < coverage.texts.size(); ++text) {
    // A text beyond a cell's size cannot be a dictionary text either.
    if (base::Utf16Length(coverage.texts[text].original) > kCellUnits) continue;
    rows.push_back({coverage.texts[text].original, language, JoinPlaces(places[text]),
                    Count(places[text]), std::move(was[text]), coverage.date});
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
