// Date and time texts on Windows: the user's regional settings, as the
// host language's conversion of a date to text shows it (short date, long
// time).

#include <ctime>
#include <iomanip>
#include <sstream>

#include "platform/system/date_time.h"
#include "platform/system/text_windows.h"

namespace vt::system {

namespace {

std::tm LocalFields(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  ::localtime_s(&local, &seconds);
  return local;
}

bool IsMidnight(const std::tm& t) { return t.tm_hour == 0 && t.tm_min == 0 && t.tm_sec == 0; }

}  // namespace

std::string FormatDateTime(std::chrono::system_clock::time_point when, const std::locale& locale) {
  const std::tm local = LocalFields(when);
  std::ostringstream text;
  text.imbue(locale);
  text << std::put_time(&local, IsMidnight(local) ? "%x" : "%x %X");
  return text.str();
}

std::string IsoDate(std::chrono::system_clock::time_point when) {
  const std::tm local = LocalFields(when);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

std::string FormatDateTime(std::chrono::system_clock::time_point when) {
  const std::tm local = LocalFields(when);
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(local.tm_year + 1900);
  time.wMonth = static_cast<WORD>(local.tm_mon + 1);
  time.wDay = static_cast<WORD>(local.tm_mday);
  time.wHour = static_cast<WORD>(local.tm_hour);
  time.wMinute = static_cast<WORD>(local.tm_min);
  time.wSecond = static_cast<WORD>(local.tm_sec);
  wchar_t date[128];
  wchar_t clock[128];
  if (::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 128,
                        nullptr) == 0 ||
      ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, clock, 128) == 0) {
    return FormatDateTime(when, std::locale::classic());
  }
  std::string text = windows::Narrow(date);
  if (!IsMidnight(local)) text += " " + windows::Narrow(clock);
  return text;
}

}  // namespace vt::system
