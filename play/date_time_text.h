#pragma once

#include <ctime>
#include <string>

namespace teravo {

// The date and time of a play window's title: the short date of the user's locale, a blank
// and its long time, with no time zone ("08.12.2026 08:54:46" under ru_RU). At exactly
// midnight (hour, minute and second all 0) the blank and the time are left out. The locale is
// the C library's, which the desktop program and the runner both set from the environment.
std::string DateTimeText(const std::tm& local);
// The same for the current local time.
std::string LocalDateTimeNow();

}  // namespace teravo
