// Compiled as the front is: the maintenance's public header is fine, one of
// its private headers must refuse it.
#include "library/maintenance/coverage.h"
#include "library/maintenance/maintenance.h"
