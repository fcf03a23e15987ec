#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "host/standard_streams.h"

namespace vt::host {

void UseBinaryStandardStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace vt::host
