// Merge takes a part only as the runner wrote it: a part changed by hand or damaged is
// refused, naming the file and what is wrong, with exit status 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "results/part_digest.h"
#include "tests/support/scratch_folder.h"
#include "tests/tools/run_in_process.h"

namespace teravo::sim::test {
namespace {

using teravo::test::ScratchFolder;
using teravo::test::WriteText;

// `text` with the first `from` replaced by `to`.
std::string Edited(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(MergeChecks, APartChangedOrDamagedIsRefusedNamingTheFileAndTheField) {
  const std::string series1 = RunStrings(With(kShortSeries, {"--plays", "1-3"})).out;
  const std::string series2 = RunStrings(With(kShortSeries, {"--plays", "4-6"})).out;
  const std::string sweep1 = RunStrings(With(kShortSweep, {"--points", "1"})).out;
  const std::string sweep2 = RunStrings(With(kShortSweep, {"--points", "2-3"})).out;
  ASSERT_NE(series2.find("\"edWorkClientNum\":\"99\""), std::string::npos);
  struct Case {
    const char* name;
    bool sweep;
    std::function<std::string(const std::string&)> damage;  // of the second part
    std::string says;
  };
  const auto resealed = [](std::function<std::string(const std::string&)> edit) {
    return [edit](const std::string& text) { return Resealed(edit(text)); };
  };
  const Case cases[] = {
      {"a figure changed by hand", false,
       [](const std::string& t) {
         return Edited(t, "\"edWorkClientNum\":\"99\"", "\"edWorkClientNum\":\"50\"");
       },
       "its content disagrees with its digest"},
      {"no digest", false,
       [](const std::string& t) { return t.substr(0, t.rfind(",\n\"digest\"")) + "}\n"; },
       "it carries no digest"},
      {"a header that its plays do not tell", false, resealed([](const std::string& t) {
         return Edited(t, "\"FClientsNum\":100", "\"FClientsNum\":2147483647");
       }),
       "play 4: its \"beginSettings\" disagree with the header's parameters"},
      {"a header step of zero", false,
       resealed([](const std::string& t) { return Edited(t, "\"FDT\":0.001", "\"FDT\":0.0"); }),
       "\"parameters\": the value of edDT is outside the range its edit allows"},
      {"a figure that is no number", false, resealed([](const std::string& t) {
         return Edited(t, "\"edWorkClientNum\":\"99\"", "\"edWorkClientNum\":\"abc\"");
       }),
       "\"edWorkClientNum\" is not a whole number: abc"},
      {"a curve cut short", false, resealed([](const std::string& t) {
         return Edited(t, "\"chNums\":[[0,100],", "\"chNums\":[");
       }),
       "play 4: \"chNums\" has"},
      {"a sweep mean that is no number", true, resealed([](const std::string& t) {
         return Edited(t, "\"edWorkClientNum\":\"", "\"edWorkClientNum\":\"garbage");
       }),
       "point 2: \"edWorkClientNum\" is not a number: garbage"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScratchFolder folder;
    const std::string first = (folder / "p1.json").string();
    const std::string second = (folder / "p2.json").string();
    WriteText(first, c.sweep ? sweep1 : series1);
    WriteText(second, c.damage(c.sweep ? sweep2 : series2));
    const Outcome merged = RunStrings({"merge", first, second});
    EXPECT_EQ(merged.status, 2) << merged.err;
    EXPECT_TRUE(Contains(merged.err, second)) << merged.err;
    EXPECT_TRUE(Contains(merged.err, c.says)) << merged.err;
    EXPECT_EQ(merged.out, "");
  }

  // Untouched, they merge; a folder in their place is told as one.
  const ScratchFolder folder;
  WriteText(folder / "p1.json", series1);
  WriteText(folder / "p2.json", series2);
  EXPECT_EQ(
      RunStrings({"merge", (folder / "p1.json").string(), (folder / "p2.json").string()}).status,
      0);
  const Outcome ofFolder =
      RunStrings({"merge", (folder / "p1.json").string(), folder.Path().string()});
  EXPECT_EQ(ofFolder.status, 2);
  EXPECT_TRUE(Contains(ofFolder.err, folder.Path().string() + ": это папка")) << ofFolder.err;
}

}  // namespace
}  // namespace teravo::sim::test
