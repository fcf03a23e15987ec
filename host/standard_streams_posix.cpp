#include "host/standard_streams.h"

namespace vt::host {

void UseBinaryStandardStreams() {}  // POSIX streams do not translate

}  // namespace vt::host
