// Compiled as another component would be: the engine's parts must refuse it.
#include "platform/workbook/internal/records.h"
