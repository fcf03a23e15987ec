#include "library/maintenance/place_log.h"

#include <utility>

namespace vt::maintenance {

void PlaceLog::Walking(std::string_view picture, std::int16_t language) {
  current_.name.assign(picture);
  current_.language = language;
  current_.texts.clear();
  current_.unreached.clear();
  walking_ = true;
}

void PlaceLog::Add(std::string object, std::string_view property, std::string_view text) {
  if (!walking_ || text.empty()) return;
  current_.texts.push_back({std::move(object), property, std::string(text)});
}

void PlaceLog::AddUnreached(std::string object, std::string_view property, std::string_view text) {
  if (!walking_ || text.empty()) return;
  current_.unreached.push_back({std::move(object), property, std::string(text)});
}

void PlaceLog::EndPicture(std::string_view selected, bool failed) {
  if (failed) {
    failed_.emplace_back(walking_ ? std::string_view(current_.name) : selected);
  } else if (walking_) {
    pictures_.push_back(std::move(current_));
  }
  walking_ = false;
  current_ = {};
}

}  // namespace vt::maintenance
