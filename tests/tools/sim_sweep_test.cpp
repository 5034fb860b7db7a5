#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "play/sweep_values.h"
#include "tests/support/json_text.h"
#include "tests/support/messages.h"
#include "tests/tools/run_in_process.h"

namespace teravo::sim {
namespace {

using test::Contains;
using test::Outcome;
using test::With;
using testing::WithoutDates;

Outcome Sim(const std::vector<std::string>& args) {
  return test::RunInProcess(std::vector<std::string_view>(args.begin(), args.end()));
}

std::string Saved(const std::string& text, const std::string& name) {
  const std::string path = ::testing::TempDir() + "sweep_test_" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs every part of `args` (--plays or --points ranges) and merges them.
Outcome Merged(const std::vector<std::string>& args, std::string_view option,
               const std::vector<std::string>& ranges) {
  std::vector<std::string> merge = {"merge"};
  for (std::size_t i = ranges.size(); i-- > 0;) {  // in reverse: the order of files is free
    const Outcome part = Sim(With(args, {std::string(option), ranges[i]}));
    EXPECT_TRUE(Contains(part.out, "{\"part\":{")) << ranges[i] << part.err;
    merge.push_back(Saved(part.out, ranges[i] + std::string(option)));
  }
  return Sim(merge);
}

TEST(ParseSweepValues, ListsAndRanges) {
  const std::vector<std::pair<std::string_view, std::vector<std::string>>> cases = {
      {"edProgrammersNum=1;2;3;5;8", {"1", "2", "3", "5", "8"}},
      {"edA=0,5;x;0,5", {"0,5", "x"}},  // texts kept for acceptance, each once
      {"edA=0,00005:0,0002:4", {"5E-5", "0,0001", "0,00015", "0,0002"}},
      {"edMu=1:100:3:log", {"1", "10", "100"}},
      {"edM=10:11:5", {"10", "11"}},                     // 10 10,25 10,5 10,75 11, ties to even
      {"edProgrammersNum=4:1:4", {"4", "3", "2", "1"}},  // downwards
      {"edK=1:16:5:log", {"1", "2", "4", "8", "16"}},
  };
  for (const auto& [text, values] : cases) {
    const auto parsed = ParseSweepValues(text, ',');
    ASSERT_TRUE(std::holds_alternative<SweepValues>(parsed)) << text;
    EXPECT_EQ(std::get<SweepValues>(parsed).texts, values) << text;
  }
  EXPECT_TRUE(std::get<SweepValues>(ParseSweepValues("edA=1:2:3:log", ',')).logSpaced);

  const std::vector<std::pair<std::string_view, std::string_view>> bad = {
      {"edNobody=1", "unknown settings edit 'edNobody'"},
      {"edY0=1;2", "edY0 cannot be swept"},
      {"edTime=1;2", "edTime cannot be swept"},
      {"edA", "a sweep is edX=VALUES"},
      {"edA=1;;2", "an empty value"},
      {"edA=1:2", "FROM:TO:COUNT"},
      {"edA=1:2:3:lin", "FROM:TO:COUNT"},
      {"edA=1:2:1", "count of a range"},
      {"edA=1:2:x", "count of a range"},
      {"edA=1.5:2:3", "'1.5' is not a number"},
      {"edA=0:1:3:log", "above 0"},
      {"edA=1:2:3;4", "not both"},
      {"edM=1:1E10:2", "whole numbers from"},
  };
  for (const auto& [text, problem] : bad) {
    const auto parsed = ParseSweepValues(text, ',');
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
    EXPECT_TRUE(Contains(std::get<std::string>(parsed), problem)) << std::get<std::string>(parsed);
  }
}

const std::vector<std::string> kSeries = {"--series", "--set",     "edK=5", "--set",
                                          "edM=300",  "--seed",    "42",    "--moment",
                                          "0,2",      "--threads", "2"};
const std::vector<std::string> kSweep = {
    "--sweep", "edProgrammersNum=0;1;2;3;5", "--set", "edK=4", "--set", "edM=200", "--seed", "9"};

TEST(Merge, GivesTheWholeRunByteForByte) {
  struct Case {
    std::vector<std::string> args;
    std::string_view option;
    std::vector<std::string> ranges;
  };
  const std::vector<Case> cases = {
      {kSeries, "--plays", {"1-2", "3-5"}},
      {kSeries, "--plays", {"1", "2-4", "5"}},
      {With(kSeries, {"--no-series"}), "--plays", {"1-3", "4-5"}},
      {kSweep, "--points", {"1-2", "3-5"}},
      {kSweep, "--points", {"1", "2-3", "4-5"}},
  };
  for (const Case& c : cases) {
    const Outcome whole = Sim(c.args);
    const Outcome merged = Merged(c.args, c.option, c.ranges);
    ASSERT_FALSE(whole.out.empty()) << whole.err;
    EXPECT_EQ(merged.status, whole.status) << merged.err;
    EXPECT_EQ(WithoutDates(merged.out), WithoutDates(whole.out)) << c.ranges.size() << " parts";
  }
}

TEST(Merge, RefusesWhatIsNotOneWholeRun) {
  const auto part = [](std::vector<std::string> args, std::string range, std::string name) {
    return Saved(Sim(With(args, {"--plays", range})).out, name);
  };
  const std::string first = part(kSeries, "1-2", "first");
  const std::string rest = part(kSeries, "3-5", "rest");
  const std::string middle = part(kSeries, "2-3", "middle");
  const std::string otherSeed = part(With(kSeries, {"--seed", "43"}), "3-5", "seed");
  const std::string otherK = part(With(kSeries, {"--set", "edK=6"}), "3-5", "k");
  const std::string sweep = Saved(Sim(With(kSweep, {"--points", "1-5"})).out, "sweep");
  const std::string notAPart = Saved("{\"plays\":[]}", "plain");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{first}, "no part holds plays 3-5"},
      {{first, middle, rest}, "both hold plays 2"},
      {{first, otherSeed}, "different runs: their \"seed\" differ"},
      {{first, otherK}, "different runs: their \"parameters.FK\" differ"},
      {{first, sweep}, "different runs: their \"run\" differ"},
      {{first, notAPart}, "is not a part of a teravo-sim run: no \"part\""},
      {{first, first + ".missing"}, ".missing: файл не найден"},
  };
  for (const auto& [files, problem] : cases) {
    const Outcome o = Sim(With({"merge"}, files));
    EXPECT_EQ(o.status, kExitRefused) << problem;
    EXPECT_TRUE(Contains(o.err, problem)) << o.err;
    EXPECT_EQ(o.out, "");
  }
}

TEST(Sweep, ARefusedValueIsReportedAndSkipped) {
  const Outcome o = Sim(kSweep);
  EXPECT_EQ(o.status, kExitRefused);
  EXPECT_TRUE(Contains(o.err, "edProgrammersNum = 0: " + std::string(msg::ProgrammersNum)));
  EXPECT_TRUE(Contains(o.out, "{\"index\":1,\"value\":\"0\",\"refused\":\"" +
                                  std::string(msg::ProgrammersNum) + "\"}"));
  EXPECT_TRUE(Contains(o.out, "{\"index\":2,\"value\":\"1\",\"plays\":4,\"fields\":{"));
  EXPECT_TRUE(Contains(o.out, "\"values\":[\"0\",\"1\",\"2\",\"3\",\"5\"]"));
}

TEST(Sweep, APointOfOnePlayHasNoSpread) {
  const Outcome o = Sim({"--sweep", "edM=10:11:5", "--set", "edK=1", "--seed", "3"});
  EXPECT_EQ(o.status, kExitSuccess) << o.err;
  EXPECT_TRUE(Contains(o.out, "\"values\":[\"10\",\"11\"],"));
  EXPECT_TRUE(Contains(o.out, "\"plays\":1,"));
  EXPECT_TRUE(Contains(o.out, "\"spread\":null}"));
  EXPECT_FALSE(Contains(o.out, "\"index\":3"));
  EXPECT_FALSE(Contains(o.out, "nan"));
  EXPECT_FALSE(Contains(o.out, "NaN"));
}

// The `"key":{...}` object of `document`'s first line holding `within`, up to its first "}}" or
// "}".
std::string ObjectAfter(const std::string& document, std::string_view within, std::string_view key,
                        std::string_view close) {
  const std::size_t at = document.find(key, document.find(within));
  return document.substr(at, document.find(close, at) - at);
}

// A point is the series of its value: same seeds, same averages, same spread.
TEST(Sweep, APointIsTheSeriesOfItsValue) {
  const Outcome sweep = Sim({"--sweep", "edProgrammersNum=2;3", "--set", "edK=3", "--set",
                             "edM=100", "--seed", "5", "--threads", "2"});
  const Outcome series = Sim({"--series", "--no-series", "--set", "edProgrammersNum=3", "--set",
                              "edK=3", "--set", "edM=100", "--seed", "5"});
  ASSERT_EQ(sweep.status, kExitSuccess) << sweep.err;
  ASSERT_EQ(series.status, kExitSuccess) << series.err;
  for (const auto& [key, close] :
       {std::pair{"\"edWorkClientNum\"", "}"}, std::pair{"\"spread\":{", "}}"}}) {
    const std::string point = ObjectAfter(sweep.out, "{\"index\":2", key, close);
    EXPECT_GT(point.size(), 100u);
    EXPECT_EQ(point, ObjectAfter(series.out, "\"averages\"", key, close));
  }
}

TEST(Sweep, CsvTableAndMergedCsvAgree) {
  const std::string whole = ::testing::TempDir() + "sweep_csv_whole";
  const std::string merged = ::testing::TempDir() + "sweep_csv_merged";
  // --csv takes only a missing or empty folder: an earlier run's are cleared.
  std::filesystem::remove_all(whole);
  std::filesystem::remove_all(merged);
  const Outcome run = Sim(With(kSweep, {"--csv", whole}));
  EXPECT_EQ(run.status, kExitRefused);
  const std::string a = Saved(Sim(With(kSweep, {"--points", "1-3"})).out, "csv_a");
  const std::string b = Saved(Sim(With(kSweep, {"--points", "4-5"})).out, "csv_b");
  EXPECT_EQ(Sim({"merge", "--csv", merged, a, b}).status, kExitRefused);
  const std::string csv = FileText(whole + "/sweep.csv");
  EXPECT_EQ(FileText(merged + "/sweep.csv"), csv);
  EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBFИсследование параметра edProgrammersNum\r\n"));
  EXPECT_TRUE(Contains(csv, "\r\nТочка;edProgrammersNum;Розыгрышей;edWorkClientNum;"));
  EXPECT_TRUE(Contains(csv, "\r\n1;0;;;"));
  // The means are the unrounded ones, in the whole run's CSV and the merged one alike.
  const std::string key = "\"exactMeans\":{\"edWorkClientNum\":\"";
  const std::size_t at = run.out.find(key, run.out.find("{\"index\":5")) + key.size();
  const std::string mean = run.out.substr(at, run.out.find('"', at) - at);
  EXPECT_TRUE(Contains(mean, ",")) << "this integer field's mean over 4 plays: " << mean;
  EXPECT_TRUE(Contains(csv, "\r\n5;5;4;" + mean + ";")) << csv;
}

TEST(Sweep, OptionsThatDoNotGoTogether) {
  const std::vector<std::pair<std::vector<std::string>, std::string_view>> cases = {
      {{"--points", "1-2", "--seed", "1"}, "--points applies to teravo-sim sweep, not to"},
      {With(kSweep, {"--plays", "1-2"}),
       "--plays applies to teravo-sim series, teravo-sim fit, teravo-sim ask, not to"},
      {{"--series", "--plays", "1-2"}, "needs --seed"},
      {With(kSweep, {"--moment", "1"}), "--moment applies to teravo-sim series, not to"},
      {With(kSweep, {"--points", "2-9"}), "--points 2-9: the sweep has 5 values"},
      {With(kSeries, {"--plays", "4-6"}), "--plays 4-6: the series has 5 plays"},
      {With(kSeries, {"--plays", "1-2", "--csv", "x"}), "give --csv to teravo-sim merge"},
      {{"--sweep", "edY_newErr=0;1"}, "read only when new errors come by intensity"},
      {With(kSweep, {"--points", "3-2"}), "--points needs I-J"},
      {{"merge"}, "merge needs the parts"},
      {{"--sweep", "edY0=1;2"}, "edY0 cannot be swept"},
  };
  for (const auto& [args, problem] : cases) {
    const Outcome o = Sim(args);
    EXPECT_EQ(o.status, kExitRefused) << problem;
    EXPECT_TRUE(Contains(o.err, problem)) << o.err;
  }
}

}  // namespace
}  // namespace teravo::sim
