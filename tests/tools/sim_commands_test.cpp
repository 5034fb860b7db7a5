#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/json_text.h"
#include "tests/tools/run_in_process.h"

namespace teravo::sim {
namespace {

using test::Contains;
using test::Outcome;
using test::RunInProcess;
using testing::WithoutDates;

// Each command's help lists its own options and none of another command's (an unlisted one
// starts no line of the help).
TEST(SimCommands, HelpListsTheOptionsOfItsCommandOnly) {
  struct Case {
    std::vector<std::string_view> args;
    std::vector<std::string_view> listed;
    std::vector<std::string_view> unlisted;
  };
  const std::vector<Case> cases = {
      {{"--help"},
       {"Usage: teravo-sim [options] [COMMAND]", "\n  play ", "\n  series ", "\n  sweep ",
        "\n  merge ", "Exit status"},
       {"--set", "--moment", "--points"}},
      {{"play", "--help"},
       {"Usage: teravo-sim play [options]", "--set edX=TEXT", "--seed N", "--no-points", "--csv"},
       {"--moment", "--plays", "--points", "VALUES", "--no-series", "--sweep"}},
      {{"series", "-h"},
       {"Usage: teravo-sim series [options]", "--set edX=TEXT", "--moment T", "--plays A-B",
        "--no-points", "--threads N"},
       {"--points", "VALUES", "PART.json", "--sweep"}},
      {{"sweep", "--help"},
       {"Usage: teravo-sim sweep [options] [VALUES]", "FROM:TO:COUNT:log", "--points I-J",
        "--set edX=TEXT"},
       {"--moment", "--plays", "PART.json"}},
      {{"merge", "--help"},
       {"Usage: teravo-sim merge [options] [parts...]", "PART.json", "--csv DIR"},
       {"--set", "--seed", "--moment", "--points", "--plays"}},
  };
  for (const Case& c : cases) {
    const Outcome o = RunInProcess(c.args);
    EXPECT_EQ(o.status, kExitSuccess) << c.args.front();
    EXPECT_EQ(o.err, "") << c.args.front();
    for (std::string_view part : c.listed) EXPECT_TRUE(Contains(o.out, part)) << part << o.out;
    for (std::string_view part : c.unlisted) {
      EXPECT_FALSE(Contains(o.out, "\n  " + std::string(part))) << part << o.out;
    }
  }
}

// Scripts keep calling the forms without a command: each must print what its command prints.
TEST(SimCommands, TheOlderFormsRunTheirCommand) {
  struct Case {
    std::vector<std::string_view> older;
    std::vector<std::string_view> command;
  };
  const std::string temp = ::testing::TempDir();  // the views below must not outlive it
  const std::vector<Case> cases = {
      {{"--set", "edM=50", "--seed", "7"}, {"play", "--set", "edM=50", "--seed", "7"}},
      {{"--set", "edM=50", "--seed", "7", "--no-series", "--csv", temp},
       {"play", "--no-points", "--set", "edM=50", "--seed", "7", "--csv", temp}},
      {{"--set", "edClientsNum=0"}, {"play", "--set", "edClientsNum=0"}},
      {{"--set", "edK=3", "--series", "--set", "edM=40", "--seed", "5", "--moment", "0,01"},
       {"series", "--set", "edK=3", "--set", "edM=40", "--seed", "5", "--moment", "0,01"}},
      {{"--series", "--no-series", "--set", "edK=3", "--set", "edM=40", "--seed", "5"},
       {"series", "--no-points", "--set", "edK=3", "--set", "edM=40", "--seed", "5"}},
      {{"--series", "--set", "edK=4", "--set", "edM=30", "--seed", "2", "--plays", "2-3"},
       {"series", "--plays", "2-3", "--set", "edK=4", "--set", "edM=30", "--seed", "2"}},
      {{"--series", "--set", "edM=10", "--moment", "1"},
       {"series", "--set", "edM=10", "--moment", "1"}},
      {{"--sweep", "edProgrammersNum=0;1;2", "--set", "edK=2", "--set", "edM=50", "--seed", "3"},
       {"sweep", "edProgrammersNum=0;1;2", "--set", "edK=2", "--set", "edM=50", "--seed", "3"}},
      {{"--set", "edK=2", "--sweep=edM=20:40:3", "--seed", "3", "--points", "2-3"},
       {"sweep", "--set", "edK=2", "--points", "2-3", "--seed", "3", "edM=20:40:3"}},
      {{"--series", "--sweep", "edA=0,0001;0,0002", "--set", "edK=2", "--set", "edM=30", "--seed",
        "4"},
       {"sweep", "--sweep", "edA=0,0001;0,0002", "--set", "edK=2", "--set", "edM=30", "--seed",
        "4"}},
      {{"--series", "--help"}, {"series", "--help"}},
      {{"--series", "--bogus"}, {"series", "--bogus"}},
  };
  for (const Case& c : cases) {
    const Outcome older = RunInProcess(c.older);
    const Outcome command = RunInProcess(c.command);
    EXPECT_EQ(older.status, command.status) << c.command.front() << ' ' << c.command[1];
    EXPECT_EQ(WithoutDates(older.out), WithoutDates(command.out)) << c.command[1];
    EXPECT_EQ(older.err, command.err) << c.command[1];
    EXPECT_FALSE(older.out.empty() && older.err.empty()) << c.command[1];
  }
}

TEST(SimCommands, ACommandRefusesWhatIsNotItsOwn) {
  struct Case {
    std::vector<std::string_view> args;
    std::string_view problem;
  };
  const std::vector<Case> cases = {
      {{"play", "--moment", "1"}, "--moment applies to teravo-sim series, not to teravo-sim play"},
      {{"--moment", "1"}, "--moment applies to teravo-sim series, not to teravo-sim play"},
      {{"series", "--points", "1-2", "--seed", "1"},
       "--points applies to teravo-sim sweep, not to teravo-sim series"},
      {{"sweep", "edA=1;2", "--plays=1-2"},
       "--plays applies to teravo-sim series, teravo-sim fit, teravo-sim ask, not to teravo-sim "
       "sweep"},
      {{"merge", "part.json", "--seed", "1"},
       "--seed applies to teravo-sim play, teravo-sim series, teravo-sim sweep, teravo-sim fit, "
       "teravo-sim ask, not to teravo-sim merge"},
      {{"play", "--sweep", "edA=1;2"}, "--sweep applies to teravo-sim sweep"},
      {{"play", "series"}, "unknown argument 'series'"},
      {{"series", "--bogus"}, "unknown argument '--bogus'"},
      {{"sweep", "edA=1;2", "edM=1;2"}, "unknown argument 'edM=1;2'"},
      {{"sweep", "--set", "edK=2"}, "sweep needs edX=VALUES"},
      {{"merge", "--csv", "x"}, "merge needs the parts"},
  };
  for (const Case& c : cases) {
    const Outcome o = RunInProcess(c.args);
    EXPECT_EQ(o.status, kExitRefused) << c.problem;
    EXPECT_EQ(o.out, "") << c.problem;
    EXPECT_TRUE(o.err.starts_with("teravo-sim: " + std::string(c.problem))) << o.err;
    // The refusal is followed by the help of the command it was meant for.
    EXPECT_TRUE(Contains(o.err, "Usage: teravo-sim ")) << o.err;
  }
}

}  // namespace
}  // namespace teravo::sim
