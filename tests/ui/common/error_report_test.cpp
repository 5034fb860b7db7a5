#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/general_error.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"

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

TEST(LocaleText, SeparatorIsOneAsciiCharacter) {
  const char separator = LocaleDecimalSeparator();
  EXPECT_GT(separator, ' ');
  EXPECT_LT(static_cast<unsigned char>(separator), 0x80);
}

}  // namespace
}  // namespace teravo::test
