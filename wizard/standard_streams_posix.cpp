#include "wizard/standard_streams.h"

namespace vt::wizard {

void UseStartingConsole() {}  // a POSIX program inherits its terminal's streams

}  // namespace vt::wizard
