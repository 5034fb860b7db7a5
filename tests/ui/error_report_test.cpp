#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/general_error.h"
#include "ui/error_report.h"
#include "ui/locale_text.h"
#include "ui_fixture.h"

namespace teravo::test {
namespace {

TEST(ErrorReport, AddsAFullStopOnlyWhenMissing) {
  EXPECT_EQ(ErrorReportText("Range check error"), QStringLiteral("Range check error."));
  EXPECT_EQ(ErrorReportText("'abc' is not a valid integer value."),
            QStringLiteral("'abc' is not a valid integer value."));
  EXPECT_EQ(ErrorReportText("Текст"), QString::fromUtf8("Текст."));
}

TEST(ErrorReport, GuardedCommandReportsGeneralAndStandardErrorsAndGoesOn) {
  std::vector<Message> log;
  RecordingSink sink(log);
  RunGuarded(sink, nullptr, [] { throw GeneralError(std::string(kDivisionByZero)); });
  RunGuarded(sink, nullptr, [] { throw std::out_of_range("List index out of bounds (5)"); });
  bool ran = false;
  RunGuarded(sink, nullptr, [&ran] { ran = true; });
  ASSERT_EQ(log.size(), 2u);
  EXPECT_TRUE(log[0].error);
  EXPECT_EQ(log[0].text, QStringLiteral("Floating point division by zero."));
  EXPECT_EQ(log[1].text, QStringLiteral("List index out of bounds (5)."));
  EXPECT_TRUE(ran);
}

TEST(LocaleText, DateTimeLeavesOutTheTimeAtExactlyMidnight) {
  const QLocale locale = QLocale::system();
  const QDate date(2003, 6, 9);
  EXPECT_EQ(SystemDateTimeText(QDateTime(date, QTime(0, 0, 0))),
            locale.toString(date, QLocale::ShortFormat).toStdString());
  const QTime afternoon(14, 5, 9);
  EXPECT_EQ(SystemDateTimeText(QDateTime(date, afternoon)),
            (locale.toString(date, QLocale::ShortFormat) + QLatin1Char(' ') +
             locale.toString(afternoon, QLocale::LongFormat))
                .toStdString());
  // One second past midnight is not midnight.
  EXPECT_NE(SystemDateTimeText(QDateTime(date, QTime(0, 0, 1))),
            SystemDateTimeText(QDateTime(date, QTime(0, 0, 0))));
}

TEST(LocaleText, SeparatorIsOneAsciiCharacter) {
  const char separator = LocaleDecimalSeparator();
  EXPECT_GT(separator, ' ');
  EXPECT_LT(static_cast<unsigned char>(separator), 0x80);
}

}  // namespace
}  // namespace teravo::test
