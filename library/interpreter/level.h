#pragma once

// The library's components, bottom to top: a component may include the
// public headers of its own level and those below. Each component's sources
// are compiled with VELTRANO_LEVEL set to its level (see library/CMakeLists.txt);
// a public header refuses a lower level, a private one any other. Code
// outside the library (tests, tools) sees every header.
#define VELTRANO_LEVEL_SESSION 1
#define VELTRANO_LEVEL_DICTIONARY 2
#define VELTRANO_LEVEL_PICTURES 3
#define VELTRANO_LEVEL_FORMS 3
#define VELTRANO_LEVEL_MAINTENANCE 4
#define VELTRANO_LEVEL_FRONT 5
#define VELTRANO_LEVEL_OUTSIDE 6

#ifndef VELTRANO_LEVEL
#define VELTRANO_LEVEL VELTRANO_LEVEL_OUTSIDE
#endif
