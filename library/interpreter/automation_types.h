#pragma once

// What the header widl writes from veltrano.idl includes for the types of
// automation_types.idl: the platform's own declarations.
// clang-format off
#include <windows.h>
#include <oaidl.h>
// clang-format on
