#include "play/sweep.h"
#include "results/series_statistics.h"

#include <gtest/gtest.h>

#include "model/teravo.h"
#include "params/acceptance.h"
#include "play/multi_play.h"
#include "play/series.h"
#include "tests/support/fake_settings_form.h"

namespace teravo {
namespace {

// The parameters acceptance gives for the dialog's defaults with some texts typed in.
TParameters Accepted(const std::vector<std::pair<std::string, std::string>>& texts) {
  test::FakeSettingsForm form(',');
  for (const auto& [name, text] : texts) form.Type(name, text);
  TTeravo model;
  EXPECT_TRUE(AcceptParameters(model, form));
  return model.Parameters();
}

const SettingsEdit& Edit(std::string_view name) {
  return *FindSettingsEdit(name);
}

// A value planned from accepted parameters must play the model the runner's acceptance of
// the same texts plays, step correction included.
TEST(SweepPlan, MatchesAcceptanceOfTheSameTexts) {
  const TParameters base = Accepted({{"edM", "200"}, {"edK", "2"}});
  for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
           {"edProgrammersNum", "5"}, {"edYk", "5000"}, {"edMu", "3000"}, {"edDT", "0,5"}}) {
    const SweepPlan plan = PlanSweepValue(base, Edit(name), 1, value, ',', 1);
    ASSERT_FALSE(plan.refused) << name << ": " << *plan.refused;
    const TParameters expected = Accepted({{"edM", "200"}, {"edK", "2"}, {name, value}});
    EXPECT_EQ(plan.parameters.FDT, expected.FDT) << name;
    EXPECT_EQ(plan.parameters.FYk, expected.FYk) << name;
    EXPECT_EQ(plan.parameters.FMu, expected.FMu) << name;
    EXPECT_EQ(plan.parameters.FProgrammersNum, expected.FProgrammersNum) << name;
  }
}

TEST(SweepPlan, RefusedValueGetsTheFieldsMessage) {
  const TParameters base = Accepted({});
  for (const char* value : {"0", "два", "1,5"}) {
    const SweepPlan plan = PlanSweepValue(base, Edit("edProgrammersNum"), 2, value, ',', 1);
    ASSERT_TRUE(plan.refused) << value;
    EXPECT_EQ(*plan.refused, Edit("edProgrammersNum").message);
  }
}

// A part of a sweep plans its own values under the indices the whole list gives them; a span
// past the list ends with the list.
TEST(SweepPlan, PlansTheSpanInListOrderWithListIndices) {
  const TParameters base = Accepted({});
  const std::vector<std::string> values = {"1", "0", "4", "7"};
  const SettingsEdit& edit = Edit("edProgrammersNum");
  const struct {
    SweepSpan span;
    std::vector<std::int32_t> indices;
  } cases[] = {
      {{}, {1, 2, 3, 4}},
      {{2, 3}, {2, 3}},
      {{4, 4}, {4}},
      {{3, 9}, {3, 4}},
  };
  for (const auto& c : cases) {
    const std::vector<SweepPlan> plan = PlanSweep(base, edit, values, ',', 1, c.span);
    ASSERT_EQ(plan.size(), c.indices.size()) << c.span.first;
    for (std::size_t i = 0; i < plan.size(); ++i) {
      const std::int32_t index = c.indices[i];
      EXPECT_EQ(plan[i].index, index);
      EXPECT_EQ(plan[i].value, values[static_cast<std::size_t>(index - 1)]);
      // Each is the value planned alone: nothing carries over from the one before.
      const SweepPlan alone = PlanSweepValue(base, edit, index, plan[i].value, ',', 1);
      EXPECT_EQ(plan[i].refused, alone.refused) << index;
      EXPECT_EQ(plan[i].parameters.FProgrammersNum, alone.parameters.FProgrammersNum) << index;
      EXPECT_EQ(plan[i].timeText, alone.timeText) << index;
    }
  }
}

TEST(SweepRun, PointsEqualTheirOwnSeriesAndStopKeepsFinishedPoints) {
  const TParameters base = Accepted({{"edM", "150"}, {"edK", "3"}});
  std::vector<SweepPlan> plan;
  for (const char* value : {"1", "0", "4"})
    plan.push_back(PlanSweepValue(base, Edit("edProgrammersNum"),
                                  static_cast<std::int32_t>(plan.size() + 1), value, ',', 2));
  SweepRunOptions options;
  options.threads = 2;
  const SweepRun whole = RunSweep(plan, 77, ',', options);
  ASSERT_EQ(whole.points.size(), 3u);
  EXPECT_FALSE(whole.stopped);
  EXPECT_TRUE(whole.points[1].refused);
  // The third point is the series of its parameters with the sweep's seed, nothing else.
  const SeriesPlays plays = RunSeriesPlays(plan[2].parameters, SeriesStart{0, 77, {}},
                                           PlayContext{plan[2].timeText, ',', LocalDateTimeNow},
                                           SeriesOptions{1, false, {}, {}});
  PlayRecord averages(',');
  FormAverages(plays.records, averages);
  EXPECT_EQ(whole.points[2].means, SweepPointOf(3, "4", 3, averages).means);
  EXPECT_EQ(whole.points[2].plays, 3);

  std::stop_source stop;
  options.stop = stop.get_token();
  options.pointDone = [&stop](const SweepPoint&) { stop.request_stop(); };
  const SweepRun stopped = RunSweep(plan, 77, ',', options);
  ASSERT_EQ(stopped.points.size(), 1u);
  EXPECT_TRUE(stopped.stopped);
  EXPECT_EQ(stopped.points[0].means, whole.points[0].means);
}

}  // namespace
}  // namespace teravo
