#pragma once

#include <cstdint>

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/mod_ini_handler.h is above the component that includes it"
#endif

namespace vt::data {
class Recordset;
}

namespace vt::interpreter {

struct Configuration;
class ErrorReporter;
class Messages;

// Reads <pictures>/Veltrano/Veltrano.ini into the three outputs, the
// settings and the user list (which the caller has opened, empty). True when
// the whole file was read; every failure has been shown.
bool ReadIniFile(Configuration& configuration, vt::data::Recordset* rsUsersLang, Messages& messages,
                 const ErrorReporter& errors, bool& blnInterpreterEnabled,
                 std::int16_t& intGlobalLangNum, bool& blnGetObjectsPrefix);

// The coverage report's ReportLengthRatio of [PARAMETERS]: a number above 0,
// written with a decimal point or comma; 1.5 when the key is missing or
// blank. Any other value throws, naming the key, its line and the value.
inline constexpr double kDefaultReportLengthRatio = 1.5;
double ReadReportLengthRatio(const Configuration& configuration);

}  // namespace vt::interpreter
