#include "play/play_host.h"

#include <ctime>

#include "core/number_text.h"

namespace teravo {

namespace {

std::string TwoDigits(int value) {
  std::string text = IntToStr(value);
  return text.size() < 2 ? "0" + text : text;
}

}  // namespace

std::string LocalDateTimeText(int year, int month, int day, int hour, int minute, int second) {
  std::string text = TwoDigits(day) + "." + TwoDigits(month) + "." + IntToStr(year);
  if (hour == 0 && minute == 0 && second == 0) return text;
  return text + " " + IntToStr(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

std::string LocalDateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return LocalDateTimeText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec);
}

}  // namespace teravo
