#pragma once

// The parts of the workbook engine are its own: every header of this folder
// includes this one, and only the engine, its tests and its fuzz target
// define VELTRANO_WORKBOOK_INTERNAL. Other components use workbook.h.
#ifndef VELTRANO_WORKBOOK_INTERNAL
#error \
    "platform/workbook/internal/ is the workbook engine's own; include platform/workbook/workbook.h"
#endif
