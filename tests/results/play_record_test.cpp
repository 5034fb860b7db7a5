#include <gtest/gtest.h>

#include <string>

#include "results/play_record.h"

namespace teravo {
namespace {

TEST(PlayRecord, FieldsAreShownAsTheWindowShowsThem) {
  PlayRecord record(',');
  EXPECT_EQ(record.Title, "Розыгрыш №");
  ASSERT_EQ(record.BeginSettings.size(), 1u);
  EXPECT_EQ(record.BeginSettings[0], "Начальные условия розыгрыша:");
  EXPECT_EQ(record.Text(Field::edKg), "");

  record.SetInt(Field::edWorkClientNum, -42);
  record.SetReal(Field::edCurTime, 1049 * 0.001L);
  record.SetReal(Field::edPer, 0.00001L);
  record.SetText(Field::edTer, "as typed");
  EXPECT_EQ(record.Text(Field::edWorkClientNum), "-42");
  EXPECT_EQ(record.Text(Field::edCurTime), "1,049");
  EXPECT_EQ(record.Text(Field::edPer), "1E-5");
  EXPECT_EQ(record.Text(Field::edTer), "as typed");

  PlayRecord dotted('.');
  dotted.SetReal(Field::edKg, 0.5L);
  EXPECT_EQ(dotted.Text(Field::edKg), "0.5");
}

TEST(PlayRecord, NamesFollowTheWindowsControls) {
  EXPECT_EQ(FieldName(Field::edCurTime), "edCurTime");
  EXPECT_EQ(FieldName(Field::edCorrectServerTime), "edCorrectServerTime");
  EXPECT_EQ(FieldName(Field::edAverWaitTime), "edAverWaitTime");
  EXPECT_EQ(ChartName(Chart::chNums), "chNums");
  EXPECT_EQ(ChartName(Chart::chErrorsGist), "chErrorsGist");
  EXPECT_EQ(ChartName(Chart::chErrorsIntensity), "chErrorsIntensity");
}

}  // namespace
}  // namespace teravo
