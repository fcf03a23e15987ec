#pragma once

#include <string>
#include <string_view>

namespace vt::maintenance {

// "The analysis of 1 picture has failed !", "The conversion of 2 pictures
// have failed !": the first line of a run's ending after failures.
std::string PicturesFailed(std::string_view strWhat, int intPictures);

}  // namespace vt::maintenance
