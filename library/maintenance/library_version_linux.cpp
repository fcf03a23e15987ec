#include "library/maintenance/library_version.h"
#include "library/maintenance/project_version.h"

namespace vt::maintenance {

LibraryVersion OwnLibraryVersion() { return {kProjectVersionMajor, kProjectVersionMinor}; }

}  // namespace vt::maintenance
