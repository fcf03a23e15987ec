#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/place_log.h is private to its component"
#endif

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "library/pictures/picture_translator.h"

namespace vt::maintenance {

// One text a picture shows: the object and property that show it and the
// text as shown (trimmed).
struct ShownText {
  std::string object;
  std::string_view property;  // a literal: "Caption", "Description"
  std::string text;
};

struct WalkedPicture {
  std::string name;
  std::int16_t language = 0;  // the column its texts are looked up in
  std::vector<ShownText> texts;
  // Texts of objects in groups deeper than the walk enters: never translated.
  std::vector<ShownText> unreached;
};

// What an update run met, picture by picture: filled while the run walks the
// pictures, read once it has ended. A picture counts as walked only when its
// objects were visited and nothing in it failed; the rows of the others stay
// as the last run left them.
class PlaceLog final : public pictures::PlaceNotes {
 public:
  void Walking(std::string_view picture, std::int16_t language) override;
  void Add(std::string object, std::string_view property, std::string_view text) override;
  void AddUnreached(std::string object, std::string_view property, std::string_view text) override;
  // The picture chosen as `selected` is done: kept when it was walked, named
  // among the failed ones when anything in it failed (walked or not).
  void EndPicture(std::string_view selected, bool failed);

  const std::vector<WalkedPicture>& Pictures() const { return pictures_; }
  const std::vector<std::string>& Failed() const { return failed_; }

 private:
  std::vector<WalkedPicture> pictures_;
  std::vector<std::string> failed_;
  WalkedPicture current_;
  bool walking_ = false;
};

}  // namespace vt::maintenance
