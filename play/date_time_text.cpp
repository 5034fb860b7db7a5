#include "play/date_time_text.h"

#include <array>

namespace teravo {

namespace {

std::string Format(const char* format, const std::tm& local) {
  std::array<char, 128> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), format, &local);
  return std::string(buffer.data(), length);
}

}  // namespace

std::string DateTimeText(const std::tm& local) {
  std::string text = Format("%x", local);
  if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) return text;
  return text + ' ' + Format("%X", local);
}

std::string LocalDateTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateTimeText(local);
}

}  // namespace teravo
