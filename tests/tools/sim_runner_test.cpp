#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "params/acceptance.h"
#include "play/commands.h"
#include "tests/support/json_text.h"
#include "tests/support/messages.h"
#include "tests/tools/run_in_process.h"
#include "tools/sim_runner.h"

namespace teravo::sim {
namespace {

using test::Contains;
using test::Outcome;
using test::RunInProcess;
using testing::WithoutDates;

std::size_t Occurrences(const std::string& text, std::string_view part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(RunSim, OneSeededPlay) {
  const Outcome o = RunInProcess({"--set", "edM=50", "--seed", "7"});
  EXPECT_EQ(o.status, kExitSuccess);
  EXPECT_EQ(o.err, "");
  EXPECT_TRUE(Contains(o.out, "\"seed\":7,"));
  EXPECT_TRUE(Contains(o.out, "\"title\":\"№1 розыгрыш  "));
  EXPECT_TRUE(Contains(o.out, "Кол-во итераций: 50, Общее время розыгрыша: 0,05 (сутки)"));
  EXPECT_TRUE(Contains(o.out, "\"edCurTime\":\"0,05\""));
  EXPECT_EQ(Occurrences(o.out, "\"seed\":"), 1u);
  EXPECT_FALSE(Contains(o.out, "\"distributions\""));
}

TEST(RunSim, SeriesReportsEverySeedTheAveragesAndTheDistributions) {
  const Outcome o = RunInProcess(
      {"--series", "--set", "edK=3", "--set", "edM=40", "--seed", "5", "--moment", "0,01"});
  EXPECT_EQ(o.status, kExitSuccess);
  EXPECT_EQ(o.err, "");
  EXPECT_TRUE(Contains(o.out, "\"seed\":5,"));
  EXPECT_TRUE(Contains(o.out, "\"seed\":6,"));
  EXPECT_TRUE(Contains(o.out, "\"seed\":7,"));
  EXPECT_EQ(Occurrences(o.out, "\"seed\":"), 3u);
  EXPECT_TRUE(Contains(o.out, "\"averages\":{\"title\":\"Средние значения за все розыгрышы\""));
  EXPECT_TRUE(Contains(o.out, "; Число розыгрышей:3\"]"));
  EXPECT_TRUE(Contains(o.out, "\"caption\":\"Распределения по результатам 3 розыгрышей\""));
  EXPECT_TRUE(Contains(o.out, "\"edCurTime\":\"0,01\",\"chWorkClients\":[["));
}

TEST(RunSim, ProgressOnlyOnATerminal) {
  const std::vector<std::string_view> args = {"--series", "--set",  "edK=2",
                                              "--set",    "edM=10", "--no-series"};
  EXPECT_EQ(RunInProcess(args).err, "");
  const Outcome o = RunInProcess(args, true);
  EXPECT_EQ(o.status, kExitSuccess);
  EXPECT_TRUE(Contains(o.err, "Розыгрыш 2 из 2\n"));
  EXPECT_FALSE(Contains(o.out, "chNums"));
}

TEST(RunSim, CorrectionsAndAdviceGoToStderrAndTheRunGoesOn) {
  const Outcome o = RunInProcess({"--set", "edYk=2000", "--set", "edM=20", "--seed", "1"});
  EXPECT_EQ(o.status, kExitSuccess);
  EXPECT_TRUE(Contains(o.err, "Шаг итерации необходимо выбирать такой"));
  EXPECT_TRUE(Contains(o.err, "Объем потока данных от клиента"));
  EXPECT_TRUE(Contains(o.out, "Шаг итерации: 0,0005,"));
}

TEST(RunSim, ExitStatusTellsWhatWentWrong) {
  struct Case {
    std::vector<std::string_view> args;
    int status;
    std::string_view err;
  };
  const std::string notSet(kParametersNotSet);
  const std::vector<Case> cases = {
      {{"--set", "edClientsNum=0"}, kExitRefused, msg::ClientsNum},
      {{"--set", "edA=0.5"}, kExitRefused, msg::A},
      {{"--series", "--set", "edK=-1"}, kExitRefused, msg::K},
      {{"--by-intensity", "--set", "edY_newErr=1E10"},
       kExitRefused,
       "Интенсивность внесения ошибки при исправлении слишком велика"},
      {{"--series", "--set", "edM=10", "--moment", "1"},
       kExitRefused,
       "не должно превышать время розыгрыша 0,01 суток."},
      {{"--series", "--set", "edM=10", "--moment", "-1"}, kExitRefused, "меньше нуля."},
      // A moment is checked before any play runs.
      {{"--series", "--set", "edM=10", "--moment", "abc"},
       kExitRefused,
       "--moment abc: 'abc' is not a valid floating point value"},
      {{"--set", "edDT=1e308", "--set", "edM=10", "--set", "edYk=1e-309", "--set", "edMu=1e-309",
        "--decimal-separator", "."},
       kExitGeneralError,
       "Floating point overflow.\n"},
      {{"--series", "--threads", "0"}, kExitRefused, "--threads needs a whole number"},
      {{"--moment", "1"}, kExitRefused, "--moment"},
      {{"--bogus"}, kExitRefused, "unknown argument '--bogus'"},
  };
  for (const Case& c : cases) {
    const Outcome o = RunInProcess(c.args);
    EXPECT_EQ(o.status, c.status) << c.args.back();
    EXPECT_TRUE(Contains(o.err, c.err)) << c.args.back() << ": " << o.err;
    EXPECT_EQ(o.out, "") << c.args.back();
  }
  const Outcome help = RunInProcess({"--help"});
  EXPECT_EQ(help.status, kExitSuccess);
  EXPECT_TRUE(Contains(help.out, "Usage: teravo-sim"));
}

// The runner as a program: its output and exit status, through the shell.
struct ProgramRun {
  int status;
  std::string out;
};

ProgramRun RunProgram(const std::string& args, const std::string& name) {
  const std::string outPath = ::testing::TempDir() + name + ".json";
  const std::string command =
      std::string(TERAVO_SIM_PATH) + " " + args + " >" + outPath + " 2>/dev/null";
  const int raw = std::system(command.c_str());
  std::ifstream file(outPath);
  std::string out((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
}

TEST(TeravoSim, SameSeedGivesTheSameDocument) {
  const std::string args = "--series --set edK=3 --set edM=60 --seed 99 --decimal-separator ,";
  const ProgramRun first = RunProgram(args, "first");
  const ProgramRun second = RunProgram(args, "second");
  ASSERT_EQ(first.status, 0);
  ASSERT_EQ(second.status, 0);
  ASSERT_FALSE(first.out.empty());
  EXPECT_EQ(WithoutDates(first.out), WithoutDates(second.out));
  EXPECT_NE(WithoutDates(first.out), first.out);  // the titles did carry a date

  const ProgramRun other = RunProgram(
      "--series --set edK=3 --set edM=60 --seed 100 "
      "--decimal-separator ,",
      "other");
  EXPECT_NE(WithoutDates(other.out), WithoutDates(first.out));
}

// The down time is a sum of rounded steps; here it comes to a hair over the whole time, and
// the availability coefficient still reads 0, not -2,1E-15.
TEST(RunSim, TheAvailabilityCoefficientStaysWithinZeroAndOne) {
  const Outcome o = RunInProcess({"--seed", "3665295956", "--set", "edClientsNum=50", "--set",
                                  "edProgrammersNum=1", "--set", "edA=0,9999999999999999", "--set",
                                  "edErrorsNum0=2", "--set", "edM=149", "--no-series"});
  ASSERT_EQ(o.status, kExitSuccess) << o.err;
  EXPECT_TRUE(Contains(o.out, "\"edKg\":\"0\"")) << o.out;
}

TEST(RunSim, TheNumberOfThreadsChangesNoByte) {
  std::string first;
  for (std::string_view threads : {"1", "2", "4"}) {
    const Outcome o = RunInProcess({"--series", "--set", "edK=9", "--set", "edM=300", "--seed",
                                    "4294967290", "--moment", "0,2", "--threads", threads});
    ASSERT_EQ(o.status, kExitSuccess) << o.err;
    const std::string document = WithoutDates(o.out);
    if (first.empty()) first = document;
    EXPECT_EQ(document, first) << threads << " threads";
  }
}

TEST(TeravoSim, ExitStatuses) {
  EXPECT_EQ(RunProgram("--set edM=5 --seed 1", "ok").status, 0);
  EXPECT_EQ(RunProgram("--set edM=0", "refused").status, 2);
  EXPECT_EQ(RunProgram("--series --set edM=5 --moment x", "refused moment").status, 2);
}

}  // namespace
}  // namespace teravo::sim
