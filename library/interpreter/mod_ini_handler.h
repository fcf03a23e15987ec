#pragma once

#include <cstdint>

namespace vt::interpreter {

// Reads <pictures>/Veltrano/Veltrano.ini into the three outputs, the
// module-level settings and the user list (which the caller has opened,
// empty). True when the whole file was read; every failure has been shown.
bool ReadIniFile(bool& blnInterpreterEnabled, std::int16_t& intGlobalLangNum,
                 bool& blnGetObjectsPrefix);

// The coverage report's ReportLengthRatio of [PARAMETERS]: a number above 0,
// written with a decimal point or comma; 1.5 when the key is missing or
// blank. Any other value throws, naming the key, its line and the value.
inline constexpr double kDefaultReportLengthRatio = 1.5;
double ReadReportLengthRatio();

}  // namespace vt::interpreter
