#pragma once

#include <cstdint>
#include <string_view>

#include "platform/automation/error.h"

namespace vt::data::ado_errors {

// The data-access component's own error numbers and descriptions; each error
// adds what it is about.
inline constexpr std::int32_t kWrongArguments = 3001;
inline constexpr std::int32_t kNoCurrentRecord = 3021;
inline constexpr std::int32_t kItemNotFound = 3265;
inline constexpr std::int32_t kObjectClosed = 3704;
inline constexpr std::int32_t kMultipleStep = -2147217887;

automation::Error WrongArguments(std::string_view detail);
automation::Error NoCurrentRecord(std::string_view operation);
automation::Error ItemNotFound(std::string_view item);
automation::Error ObjectClosed(std::string_view operation);
automation::Error BadValue(std::string_view field, std::string_view detail);

}  // namespace vt::data::ado_errors
