// What the runner writes and reads as files: nothing half written, nothing of another's
// replaced, and every refusal with its reason.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"
#include "tests/tools/run_in_process.h"

namespace teravo::sim::test {
namespace {

namespace fs = std::filesystem;
using teravo::test::FileSizeLimit;
using teravo::test::FileText;
using teravo::test::ScratchFolder;
using teravo::test::WriteText;

mode_t ModeOf(const fs::path& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status.st_mode;
}

TEST(SimFiles, SaveParamsReplacesOnlyARegularWritableFileAndOnlyForAnAcceptedRun) {
  struct Case {
    const char* name;
    std::function<void(const ScratchFolder&)> prepare;
    std::vector<std::string> more;
    int status;
    const char* says;
    std::function<void(const ScratchFolder&)> check;
  };
  const auto nothingWritten = [](const ScratchFolder& f) {
    EXPECT_FALSE(fs::exists(fs::symlink_status(f / "p.json")));
  };
  const Case cases[] = {
      {"a read-only file",
       [](const ScratchFolder& f) {
         WriteText(f / "p.json", "old");
         chmod((f / "p.json").c_str(), 0444);
       },
       {},
       2,
       "файл только для чтения",
       [](const ScratchFolder& f) {
         EXPECT_EQ(FileText(f / "p.json"), "old");
         EXPECT_EQ(ModeOf(f / "p.json") & 0777, 0444u);
       }},
      {"a symbolic link",
       [](const ScratchFolder& f) {
         WriteText(f / "real.json", "old");
         fs::create_symlink("real.json", f / "p.json");
       },
       {},
       2,
       "это символическая ссылка",
       [](const ScratchFolder& f) {
         EXPECT_TRUE(fs::is_symlink(f / "p.json"));
         EXPECT_EQ(FileText(f / "real.json"), "old");
       }},
      {"a pipe, as a device would be",
       [](const ScratchFolder& f) { mkfifo((f / "p.json").c_str(), 0644); },
       {},
       2,
       "это не обычный файл",
       [](const ScratchFolder& f) { EXPECT_TRUE(S_ISFIFO(ModeOf(f / "p.json"))); }},
      {"someone's p.json.part",
       [](const ScratchFolder& f) { WriteText(f / "p.json.part", "someone's"); },
       {},
       0,
       "",
       [](const ScratchFolder& f) {
         EXPECT_EQ(FileText(f / "p.json.part"), "someone's");
         EXPECT_EQ(f.Names(), (std::set<std::string>{"p.json", "p.json.part"}));
       }},
      {"an empty folder p.json.part",
       [](const ScratchFolder& f) { fs::create_directory(f / "p.json.part"); },
       {},
       0,
       "",
       [](const ScratchFolder& f) { EXPECT_TRUE(fs::is_directory(f / "p.json.part")); }},
      {"a refused run",
       [](const ScratchFolder&) {},
       {"--set", "edClientsNum=0"},
       2,
       "",
       nothingWritten},
      {"a run refused for its needs",
       [](const ScratchFolder&) {},
       {"--set", "edK=100000000"},
       2,
       "слишком велико",
       nothingWritten},
      {"a text that is not UTF-8",
       [](const ScratchFolder&) {},
       {"--set", "edY0=\xff\xfe"},
       2,
       "--set edY0: the text is not UTF-8",
       [](const ScratchFolder& f) { EXPECT_TRUE(f.Names().empty()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchFolder folder;
    c.prepare(folder);
    std::vector<std::string> more = {"--save-params", (folder / "p.json").string()};
    more.insert(more.end(), c.more.begin(), c.more.end());
    const Outcome run = RunStrings(kShortSeries, more);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_TRUE(Contains(run.err, c.says)) << run.err;
    c.check(folder);
  }
}

TEST(SimFiles, ParamsTellsWhatThePathIs) {
  const ScratchFolder folder;
  mkfifo((folder / "pipe").c_str(), 0644);
  const std::pair<std::string, const char*> cases[] = {
      {folder.Path().string(), "это папка"},
      {(folder / "pipe").string(), "это не обычный файл"},
      {"/dev/zero", "это не обычный файл"},
      {(folder / "missing.json").string(), "файл не найден"},
  };
  for (const auto& [path, says] : cases) {
    const Outcome run = RunStrings(kShortSeries, {"--params", path});
    EXPECT_EQ(run.status, 2) << path;
    EXPECT_TRUE(Contains(run.err, says)) << run.err;
  }
}

TEST(SimFiles, CsvWritesAWholeSetIntoAFolderOfItsOwnOrNothing) {
  const ScratchFolder folder;
  const std::string out = (folder / "out").string();
  ASSERT_EQ(RunStrings(kShortSeries, {"--csv", out}).status, 0);
  const std::set<std::string> firstSet = folder.Names("out");
  EXPECT_EQ(firstSet.size(), 8u) << "six plays, the averages and the distributions";
  const std::string firstPlay = FileText(folder / "out/play-1.csv");

  // A second run with fewer plays would leave the first run's play-4 ... 6 beside its own.
  const Outcome again = RunStrings(kShortSeries, {"--set", "edK=3", "--csv", out});
  EXPECT_EQ(again.status, 2);
  EXPECT_TRUE(Contains(again.err, "--csv " + out + ": папка не пуста")) << again.err;
  EXPECT_EQ(folder.Names("out"), firstSet);
  EXPECT_EQ(FileText(folder / "out/play-1.csv"), firstPlay);

  const Outcome ontoFile =
      RunStrings(kShortSeries, {"--csv", (folder / "out/play-1.csv").string()});
  EXPECT_EQ(ontoFile.status, 2);
  EXPECT_TRUE(Contains(ontoFile.err, "это не папка")) << ontoFile.err;

  // A disk that fills up halfway leaves no file cut mid-row, and says why.
  {
    const FileSizeLimit limit(2000);
    const Outcome full = RunStrings(kShortSeries, {"--csv", (folder / "full").string()});
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(Contains(full.err, "--csv " + (folder / "full").string() + ": файл больше"))
        << full.err;
  }
  EXPECT_EQ(folder.Names(), std::set<std::string>{"out"});
}

TEST(SimFiles, ASweepPointWhosePlaysFailIsToldAndTheOthersKept) {
  const Outcome run = RunStrings({"sweep", "edDT=0.001;0.9e308", "--set", "edYk=1e-308", "--set",
                                  "edMu=1e-308", "--set", "edM=300", "--set", "edK=3", "--seed",
                                  "7", "--decimal-separator", ".", "--threads", "1"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Contains(run.err, "edDT = 0.9e308: Floating point overflow.")) << run.err;
  const auto points = nlohmann::json::parse(run.out)["sweep"]["points"];
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0]["plays"], 3);
  EXPECT_EQ(points[1]["refused"], "Floating point overflow.");
}

}  // namespace
}  // namespace teravo::sim::test
