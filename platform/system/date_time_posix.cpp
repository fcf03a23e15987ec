#include <ctime>
#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "platform/system/date_time.h"

namespace vt::system {

std::string FormatDateTime(std::chrono::system_clock::time_point when, const std::locale& locale) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  std::ostringstream text;
  text.imbue(locale);
  const bool midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
  text << std::put_time(&local, midnight ? "%x" : "%x %X");
  return text.str();
}

std::string IsoDate(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

std::string FormatDateTime(std::chrono::system_clock::time_point when) {
  static const std::locale user_locale = [] {
    try {
      return std::locale("");
    } catch (const std::runtime_error&) {
      return std::locale::classic();
    }
  }();
  return FormatDateTime(when, user_locale);
}

}  // namespace vt::system
