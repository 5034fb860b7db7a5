#include <gtest/gtest.h>

#include <clocale>
#include <ctime>

#include "play/date_time_text.h"

namespace teravo {
namespace {

// The title's date and time follow the C library's locale; tests run under the C locale,
// whose short date is mm/dd/yy and whose long time is HH:MM:SS.
TEST(DateTimeText, ShortDateAndLongTimeWithoutTheTimeAtMidnight) {
  std::setlocale(LC_TIME, "C");
  struct Case {
    int hour, minute, second;
    const char* expected;
  };
  for (const Case& c : {Case{14, 5, 9, "06/09/03 14:05:09"}, Case{0, 0, 0, "06/09/03"},
                        Case{0, 0, 1, "06/09/03 00:00:01"}}) {
    std::tm moment{};
    moment.tm_year = 2003 - 1900;
    moment.tm_mon = 5;
    moment.tm_mday = 9;
    moment.tm_hour = c.hour;
    moment.tm_min = c.minute;
    moment.tm_sec = c.second;
    EXPECT_EQ(DateTimeText(moment), c.expected);
  }
}

}  // namespace
}  // namespace teravo
