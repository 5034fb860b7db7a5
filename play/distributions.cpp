#include "play/distributions.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "core/number_text.h"
#include "core/rounding.h"
#include "play/play_host.h"

namespace teravo {

namespace {

constexpr std::string_view kNegativeMoment =
    "Текущее время для вывода распределений не должно быть меньше нуля.";
constexpr std::string_view kMomentBeyondPlay =
    "Текущее время для вывода распределений не должно превышать время розыгрыша ";

// The spread of one quantity over the plays: 20 classes of equal width between its minimum
// and maximum, each bar at the lower edge of its class.
class Histogram {
 public:
  void Fit(double value, bool first) {
    if (first) {
      min_ = max_ = value;
      return;
    }
    if (value > max_) max_ = value;
    if (value < min_) min_ = value;
  }

  void Count(double value) {
    int k = 0;
    if (max_ != min_) {
      const long double position = (static_cast<long double>(value) - min_) *
                                   (kDistributionClasses - 1) /
                                   (static_cast<long double>(max_) - min_);
      k = std::clamp(static_cast<int>(position), 0, kDistributionClasses - 1);
    }
    ++counts_[static_cast<std::size_t>(k)];
  }

  void AddBar(int k, ChartSeries& series) const {
    const long double x =
        min_ + (static_cast<long double>(max_) - min_) * k / (kDistributionClasses - 1);
    series.AddXY(ToDouble(x), counts_[static_cast<std::size_t>(k)]);
  }

 private:
  double min_ = 0;
  double max_ = 0;
  std::array<int, kDistributionClasses> counts_{};
};

}  // namespace

CommandOutcome CheckMoment(const DistributionsRecord& record, std::int64_t* index) {
  const long double moment = StrToFloat(record.CurTimeText, record.Separator());
  if (moment < 0) return CommandOutcome::Refused(std::string(kNegativeMoment));
  // Compared before rounding so that an absurdly large moment cannot overflow the index.
  const long double steps = CheckedDiv(moment * record.FM, record.FTotalTime);
  const std::int64_t last = record.FM;
  if (steps >= static_cast<long double>(last) + 1 || RoundTiesEven(steps) > last) {
    return CommandOutcome::Refused(std::string(kMomentBeyondPlay) +
                                   FloatToStr(record.FTotalTime, record.Separator()) + " суток.");
  }
  const std::int64_t nearest = RoundTiesEven(steps);
  if (index != nullptr) *index = nearest == last ? last - 1 : nearest;
  return CommandOutcome::Ran();
}

CommandOutcome RecomputeDistributions(DistributionsRecord& record, PlayHost& host) {
  std::int64_t index = 0;
  if (CommandOutcome checked = CheckMoment(record, &index); !checked.ran()) return checked;

  // Everything is read before the bars change, so a failed read leaves them as they were.
  const std::vector<std::shared_ptr<PlayRecord>> plays = record.OpenPlayWindows();
  // Each histogram with the chart its values come from at the moment's step.
  const std::array<std::pair<ChartSeries*, Chart>, 3> histograms{{
      {&record.WorkClients, Chart::chNums},
      {&record.ErrorsInClients, Chart::chClientErrors},
      {&record.Failures, Chart::chFailures},
  }};
  // The window's two histograms need every play's point; the failures, which plays read
  // back from older documents may lack, are left out when any play lacks them.
  constexpr std::size_t kRequired = 2;
  const int i = static_cast<int>(index);
  std::array<std::vector<double>, histograms.size()> values;
  std::array<bool, histograms.size()> complete{};
  complete.fill(true);
  for (const auto& play : plays) {
    for (std::size_t h = 0; h < histograms.size(); ++h) {
      const ChartSeries& series = play->Series(histograms[h].second);
      if (h >= kRequired && series.Count() <= i) {
        complete[h] = false;
        continue;
      }
      values[h].push_back(series.YValue(i));
    }
  }

  for (std::size_t h = 0; h < histograms.size(); ++h) {
    ChartSeries& bars = *histograms[h].first;
    bars.Clear();
    if (plays.empty() || !complete[h]) continue;
    Histogram histogram;
    for (std::size_t p = 0; p < plays.size(); ++p) histogram.Fit(values[h][p], p == 0);
    for (std::size_t p = 0; p < plays.size(); ++p) histogram.Count(values[h][p]);
    for (int k = 0; k < kDistributionClasses; ++k) histogram.AddBar(k, bars);
    // Shares of the plays still open, so the bars of a histogram add up to 1.
    ScaleSeries(bars, 1.0 / static_cast<double>(plays.size()));
  }
  host.Repaint(record);
  return CommandOutcome::Ran();
}

void CloseSeriesPlays(DistributionsRecord& record, PlayHost& host) {
  // The averages still stand for every play of the series, though none can be looked at now.
  const std::shared_ptr<PlayRecord> averages = record.Averages.lock();
  if (averages && !record.FPlayWindows.empty()) {
    averages->Title += " (розыгрышей: " + IntToStr(averages->PlayCount) + ", их окна закрыты)";
    host.Repaint(*averages);
  }
  for (const auto& play : record.OpenPlayWindows()) {
    try {
      host.ClosePlayWindow(*play);
    } catch (const std::exception&) {
      // One window that fails to close must not keep the others open.
    }
  }
  record.FPlayWindows.clear();
}

}  // namespace teravo
