#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vt::maintenance {

// One text a picture shows: the object and property that show it, the text
// as shown (trimmed) and the dictionary column it is looked up in.
struct ShownText {
  std::string object;
  std::string_view property;  // a literal: "Caption", "Description"
  std::string text;
  std::int16_t language = 0;
};

struct WalkedPicture {
  std::string name;
  std::vector<ShownText> texts;
};

// What an update run met, picture by picture: filled while the run walks the
// pictures, read once it has ended. A picture counts as walked only when its
// objects were visited and nothing in it failed; the rows of the others stay
// as the last run left them.
class PlaceLog {
 public:
  // The picture's objects are about to be visited.
  void Walking(std::string_view picture);
  void Add(std::string object, std::string_view property, std::string_view text,
           std::int16_t language);
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
