#pragma once

#include <cstdint>

namespace vt::interpreter {

// Reads <pictures>/Veltrano/Veltrano.ini into the three outputs, the
// module-level settings and the user list (which the caller has opened,
// empty). True when the whole file was read; every failure has been shown.
bool ReadIniFile(bool& blnInterpreterEnabled, std::int16_t& intGlobalLangNum,
                 bool& blnGetObjectsPrefix);

}  // namespace vt::interpreter
