#include "library/maintenance/run_messages.h"

namespace vt::maintenance {

std::string PicturesFailed(std::string_view strWhat, int intPictures) {
  const std::string strCount =
      intPictures == 1 ? "1 picture has" : std::to_string(intPictures) + " pictures have";
  return "The " + std::string(strWhat) + " of " + strCount + " failed !";
}

}  // namespace vt::maintenance
