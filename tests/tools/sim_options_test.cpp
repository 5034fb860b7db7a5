#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
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
  EXPECT_EQ(options.command, SimCommand::Series);
  EXPECT_EQ(options.moment, "2,5");
  EXPECT_EQ(options.seed, 4294967295u);
  EXPECT_EQ(options.separator, '.');
  EXPECT_FALSE(options.pointArrays);
  EXPECT_FALSE(options.help);
  EXPECT_FALSE(Parsed({"play", "--no-points"}).pointArrays);
}

TEST(ParseSimOptions, DefaultsAreOnePlayFromTheClockWithPoints) {
  const SimOptions options = Parsed({});
  EXPECT_TRUE(options.edits.empty());
  EXPECT_EQ(options.command, SimCommand::Play);
  EXPECT_FALSE(options.seed);
  EXPECT_FALSE(options.separator);
  EXPECT_TRUE(options.pointArrays);
  EXPECT_TRUE(Parsed({"--help"}).help);
}

TEST(ParseSimOptions, TakesTheNextArgumentAsTheValueAndTheLastOccurrenceCounts) {
  const SimOptions options = Parsed(
      {"series", "--moment", "-1", "--set", "edM=-5", "--set", "edM=7", "--seed", "1", "--seed",
       "2", "--decimal-separator", ".", "--decimal-separator", ",", "--moment", "--series", "-h"});
  ASSERT_EQ(options.edits.size(), 2u);
  EXPECT_EQ(options.edits[0].second, "-5");
  EXPECT_EQ(options.edits[1].second, "7");
  EXPECT_EQ(options.moment, "--series");
  EXPECT_EQ(options.seed, 2u);
  EXPECT_EQ(options.separator, ',');
  EXPECT_TRUE(options.help);
}

TEST(ParseSimOptions, RefusesWhatItCannotUse) {
  const std::string needsEdit = "--set needs edX=TEXT";
  const std::string needsSeed = "--seed needs an integer from 0 to 4294967295";
  const std::string needsSeparator =
      "--decimal-separator needs one character, not a digit, sign or E";
  const std::vector<std::pair<std::vector<std::string_view>, std::string>> bad = {
      {{"--set"}, needsEdit},
      {{"--set", "edClientsNum"}, needsEdit},
      {{"--set", "edNobody=1"}, "unknown settings edit 'edNobody'"},
      {{"--seed", "-1"}, needsSeed},
      {{"--seed", "4294967296"}, needsSeed},
      {{"--seed", "12x"}, needsSeed},
      {{"--seed", "0x10"}, needsSeed},
      {{"--seed", "1", "--seed", ""}, needsSeed},
      {{"--seed"}, needsSeed},
      {{"--decimal-separator", ",,"}, needsSeparator},
      {{"--decimal-separator", "5"}, needsSeparator},
      {{"--decimal-separator", "E"}, needsSeparator},
      {{"--decimal-separator", " "}, needsSeparator},
      {{"series", "--moment"}, "--moment needs a time"},
      {{"--frobnicate"}, "unknown argument '--frobnicate'"},
      {{"--series", "7"}, "unknown argument '7'"},
      {{"--set", "edM=1", "edK=2"}, "unknown argument 'edK=2'"},
      {{"--", "--series"}, "unknown argument '--series'"},  // no end of options
      // The first fault on the line is the one told.
      {{"--frobnicate", "--seed", "x"}, "unknown argument '--frobnicate'"},
      {{"--seed", "x", "--frobnicate"}, needsSeed},
      {{"--seed", "--seed", "1"}, needsSeed},
  };
  for (const auto& [args, text] : bad) {
    const auto result = ParseSimOptions(args);
    ASSERT_TRUE(std::holds_alternative<UsageError>(result)) << args[0];
    EXPECT_EQ(std::get<UsageError>(result).text, text) << args[0];
  }
  EXPECT_TRUE(std::holds_alternative<UsageError>(ParseSimOptions({"--series=false"})));
}

}  // namespace
}  // namespace teravo::sim
