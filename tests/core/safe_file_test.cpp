#include "core/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "tests/support/file_size_limit.h"
#include "tests/support/scratch_folder.h"

namespace teravo::test {
namespace {

namespace fs = std::filesystem;

mode_t ModeOf(const fs::path& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status.st_mode & 07777;
}

// Every kind of target: what the writer does with it, and that it leaves nothing of its own
// behind and nothing of others' changed when it refuses.
TEST(SafeFile, WritesRegularTargetsAndRefusesEveryOtherWithItsReason) {
  const mode_t umaskBefore = umask(022);
  struct Case {
    const char* name;
    std::function<void(const ScratchFolder&)> prepare;
    std::optional<FileProblem> problem;
    mode_t mode;  // of the target afterwards
  };
  const fs::path target = "target.txt";
  const Case cases[] = {
      {"a new file", [](const ScratchFolder&) {}, std::nullopt, 0644},
      {"a file it replaces keeps its permissions",
       [](const ScratchFolder& f) {
         WriteText(f / "target.txt", "old");
         chmod((f / "target.txt").c_str(), 0640);
       },
       std::nullopt, 0640},
      {"a read-only file",
       [](const ScratchFolder& f) {
         WriteText(f / "target.txt", "old");
         chmod((f / "target.txt").c_str(), 0444);
       },
       FileProblem::ReadOnly, 0444},
      {"a symbolic link",
       [](const ScratchFolder& f) {
         WriteText(f / "linked.txt", "old");
         fs::create_symlink("linked.txt", f / "target.txt");
       },
       FileProblem::IsLink, 0777},
      {"a named pipe", [](const ScratchFolder& f) { mkfifo((f / "target.txt").c_str(), 0644); },
       FileProblem::NotRegularFile, 0644},
      {"a folder", [](const ScratchFolder& f) { fs::create_directory(f / "target.txt"); },
       FileProblem::IsFolder, 0755},
      {"files named like a temporary one stay",
       [](const ScratchFolder& f) {
         WriteText(f / "target.txt.part", "someone's");
         fs::create_directory(f / ".target.txt.tmp");
       },
       std::nullopt, 0644},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchFolder folder;
    c.prepare(folder);
    const std::set<std::string> before = folder.Names();
    // Only regular files are read: a pipe would wait for a writer.
    const auto texts = [&] {
      std::string text;
      for (const char* name : {"linked.txt", "target.txt"}) {
        if (fs::is_regular_file(fs::symlink_status(folder / name))) text += FileText(folder / name);
      }
      return text;
    };
    const std::string oldText = texts();
    const auto failure = WriteFileSafely(folder / target.string(), "new content\n");
    if (c.problem) {
      ASSERT_TRUE(failure.has_value());
      EXPECT_EQ(failure->problem, *c.problem) << FileProblemText(*failure);
      EXPECT_EQ(folder.Names(), before) << "nothing added, nothing removed";
      EXPECT_EQ(texts(), oldText);
    } else {
      ASSERT_FALSE(failure.has_value()) << FileProblemText(*failure);
      std::set<std::string> expected = before;
      expected.insert("target.txt");
      EXPECT_EQ(folder.Names(), expected);
      EXPECT_EQ(FileText(folder / "target.txt"), "new content\n");
      if (before.count("target.txt.part")) {
        EXPECT_EQ(FileText(folder / "target.txt.part"), "someone's");
      }
    }
    EXPECT_EQ(ModeOf(folder / "target.txt"), c.mode);
  }
  umask(umaskBefore);

  // Refused before anything is written: a device, whoever runs the program.
  const auto device = CheckFileTarget("/dev/null");
  ASSERT_TRUE(device.has_value());
  EXPECT_EQ(device->problem, FileProblem::NotRegularFile);
  const ScratchFolder folder;
  const auto missing = WriteFileSafely(folder / "no-such-folder/file.txt", "x");
  ASSERT_TRUE(missing.has_value());
  EXPECT_EQ(FileProblemText(*missing), "нет такой папки");
}

// A write that fails halfway, as on a full disk, leaves the old file whole and no part of the
// new one; a writer that gives up leaves nothing either.
TEST(SafeFile, AFailedWriteLeavesTheOldFileAndNoPiece) {
  const ScratchFolder folder;
  WriteText(folder / "table.csv", "old;table\r\n");
  {
    const FileSizeLimit limit(4096);
    const auto failure = WriteFileSafely(folder / "table.csv", std::string(10000, 'x'));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->problem, FileProblem::TooLarge);
  }
  EXPECT_EQ(FileText(folder / "table.csv"), "old;table\r\n");
  EXPECT_EQ(folder.Names(), std::set<std::string>{"table.csv"});

  const auto gaveUp = WriteFileThrough(folder / "chart.png", [](const fs::path& temporary) {
    WriteText(temporary, "half a pic");
    return false;
  });
  ASSERT_TRUE(gaveUp.has_value());
  EXPECT_EQ(gaveUp->problem, FileProblem::WriterFailed);
  EXPECT_EQ(folder.Names(), std::set<std::string>{"table.csv"});

  EXPECT_EQ(FileProblemText(FailureOf(std::make_error_code(std::errc::no_space_on_device))),
            "диск заполнен");
  EXPECT_EQ(FileProblemText(FailureOf(std::make_error_code(std::errc::permission_denied))),
            "доступ запрещён");
}

TEST(SafeFile, AFolderOfFilesReplacesOnlyAMissingOrEmptyFolder) {
  const FolderFiles files = {{"play-1.csv", "1"}, {"play-2.csv", "2"}};
  struct Case {
    const char* name;
    std::function<void(const ScratchFolder&)> prepare;
    std::optional<FileProblem> problem;
  };
  const Case cases[] = {
      {"missing", [](const ScratchFolder&) {}, std::nullopt},
      {"empty", [](const ScratchFolder& f) { fs::create_directory(f / "out"); }, std::nullopt},
      {"holding files",
       [](const ScratchFolder& f) {
         fs::create_directory(f / "out");
         WriteText(f / "out/play-4.csv", "an earlier run's");
       },
       FileProblem::FolderNotEmpty},
      {"a file", [](const ScratchFolder& f) { WriteText(f / "out", "a file"); },
       FileProblem::NotFolder},
      {"a link",
       [](const ScratchFolder& f) {
         fs::create_directory(f / "elsewhere");
         fs::create_directory_symlink("elsewhere", f / "out");
       },
       FileProblem::IsLink},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchFolder folder;
    c.prepare(folder);
    const std::set<std::string> before = folder.Names();
    const auto failure = WriteFolderSafely(folder / "out", files);
    if (c.problem) {
      ASSERT_TRUE(failure.has_value());
      EXPECT_EQ(failure->problem, *c.problem) << FileProblemText(*failure);
      EXPECT_EQ(folder.Names(), before);
    } else {
      ASSERT_FALSE(failure.has_value()) << FileProblemText(*failure);
      EXPECT_EQ(folder.Names(), std::set<std::string>{"out"});
      EXPECT_EQ(folder.Names("out"), (std::set<std::string>{"play-1.csv", "play-2.csv"}));
    }
  }

  const ScratchFolder folder;
  {
    const FileSizeLimit limit(4096);
    const auto failure =
        WriteFolderSafely(folder / "out", {{"a.csv", "1"}, {"b.csv", std::string(10000, 'x')}});
    ASSERT_TRUE(failure.has_value());
  }
  EXPECT_TRUE(folder.Names().empty()) << "the half-written set is gone";
}

}  // namespace
}  // namespace teravo::test
