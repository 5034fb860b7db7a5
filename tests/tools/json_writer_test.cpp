#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <sstream>
#include <string>

#include "tools/json_writer.h"
#include "tools/sim_host.h"
#include "tools/sim_settings_form.h"

namespace teravo::sim {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(JsonString(""), "\"\"");
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("1\n2\r3\t4"), "\"1\\n2\\r3\\t4\"");
  EXPECT_EQ(JsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\\u007f\"");
  EXPECT_EQ(JsonString("№1 розыгрыш «Ф»"), "\"№1 розыгрыш «Ф»\"");
}

TEST(JsonNumber, ShortestTextThatReadsBackToTheSameDouble) {
  for (double value : {0.0, 1.0, 0.1, 1e-5, 1.0 / 3, 100.0, 123456789012345680.0,
                       std::numeric_limits<double>::denorm_min(), -2.5}) {
    const std::string text = JsonNumber(value);
    double back = 0;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(back, value) << text;
  }
  EXPECT_EQ(JsonNumber(0.1), "0.1");
  EXPECT_EQ(JsonNumber(100), "100");
  EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
}

TEST(RunJson, WritesEveryWindowAndLeavesPointsOutOnRequest) {
  std::ostringstream messages;
  SimSettingsForm form(',', messages);
  SimHost host(form, messages, false);
  auto play = host.OpenPlayWindow();
  play->Title = "№1 розыгрыш  08.12.2026";
  play->Seed = 42;
  play->BeginSettings.push_back("описание");
  play->SetInt(Field::edWorkClientNum, 7);
  play->Series(Chart::chNums).AddXY(0, 0.5);
  play->Series(Chart::chNums).AddXY(0.001, 2);

  const std::string withPoints = RunJson(host, true);
  EXPECT_NE(withPoints.find("\"title\":\"№1 розыгрыш  08.12.2026\",\"seed\":42,"
                            "\"beginSettings\":[\"Начальные условия розыгрыша:\",\"описание\"]"),
            std::string::npos);
  EXPECT_NE(withPoints.find("\"edWorkClientNum\":\"7\""), std::string::npos);
  EXPECT_NE(withPoints.find("\"edKg\":\"\""), std::string::npos);
  EXPECT_NE(withPoints.find("\"chNums\":[[0,0.5],[0.001,2]]"), std::string::npos);
  EXPECT_NE(withPoints.find("\"chErrorsGist\":[]"), std::string::npos);
  EXPECT_EQ(withPoints.find("\"averages\""), std::string::npos);

  const std::string withoutPoints = RunJson(host, false);
  EXPECT_EQ(withoutPoints.find("chNums"), std::string::npos);
  EXPECT_NE(withoutPoints.find("\"edWorkClientNum\":\"7\""), std::string::npos);
}

}  // namespace
}  // namespace teravo::sim
