#include <gtest/gtest.h>

#include <string_view>
#include <variant>
#include <vector>

#include "tools/sim_options.h"

namespace teravo::sim {
namespace {

SimOptions Parsed(std::vector<std::string_view> args) {
  auto result = ParseSimOptions(args);
  EXPECT_TRUE(std::holds_alternative<SimOptions>(result));
  return std::holds_alternative<SimOptions>(result) ? std::get<SimOptions>(result) : SimOptions{};
}

TEST(ParseSimOptions, TakesEveryOption) {
  const SimOptions options =
      Parsed({"--set", "edClientsNum=50", "--set", "edA=0,001", "--by-intensity", "--series",
              "--moment", "2,5", "--seed", "4294967295", "--decimal-separator", ".", "--no-series",
              "--set", "edTime="});
  ASSERT_EQ(options.edits.size(), 3u);
  EXPECT_EQ(options.edits[0], (std::pair<std::string, std::string>{"edClientsNum", "50"}));
  EXPECT_EQ(options.edits[1], (std::pair<std::string, std::string>{"edA", "0,001"}));
  EXPECT_EQ(options.edits[2], (std::pair<std::string, std::string>{"edTime", ""}));
  EXPECT_TRUE(options.byIntensity);
  EXPECT_TRUE(options.series);
  EXPECT_EQ(options.moment, "2,5");
  EXPECT_EQ(options.seed, 4294967295u);
  EXPECT_EQ(options.separator, '.');
  EXPECT_FALSE(options.pointArrays);
  EXPECT_FALSE(options.help);
}

TEST(ParseSimOptions, DefaultsAreOnePlayFromTheClockWithPoints) {
  const SimOptions options = Parsed({});
  EXPECT_TRUE(options.edits.empty());
  EXPECT_FALSE(options.series);
  EXPECT_FALSE(options.seed);
  EXPECT_FALSE(options.separator);
  EXPECT_TRUE(options.pointArrays);
  EXPECT_TRUE(Parsed({"--help"}).help);
}

TEST(ParseSimOptions, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--set"},
      {"--set", "edClientsNum"},
      {"--set", "edNobody=1"},
      {"--seed", "-1"},
      {"--seed", "4294967296"},
      {"--seed", "12x"},
      {"--seed"},
      {"--decimal-separator", ",,"},
      {"--decimal-separator", "5"},
      {"--decimal-separator", "E"},
      {"--decimal-separator", " "},
      {"--moment"},
      {"--frobnicate"},
  };
  for (const auto& args : bad) {
    EXPECT_TRUE(std::holds_alternative<UsageError>(ParseSimOptions(args))) << args[0];
  }
}

}  // namespace
}  // namespace teravo::sim
