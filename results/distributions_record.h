#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "results/chart_series.h"
#include "results/play_record.h"

namespace teravo {

inline constexpr std::string_view kDistributionsCaption = "Распределения по результатам розыгрышей";
inline constexpr int kDistributionClasses = 20;

// Everything the distributions window of a series holds. It keeps the series' own number of
// iterations and plays, so accepting new settings later does not change what it refers to.
// Play windows the user closed drop out of FPlayWindows; a destroyed window is never read.
class DistributionsRecord {
 public:
  explicit DistributionsRecord(char separator) : separator_(separator) {}

  std::string Caption{kDistributionsCaption};
  std::string CurTimeText;  // edCurTime: the moment in days
  std::vector<std::weak_ptr<PlayRecord>> FPlayWindows;
  // The series' averages window, whose title says so once the play windows are closed, and
  // which series this is, as the averages' record tells it.
  std::weak_ptr<PlayRecord> Averages;
  std::string SeriesLabel;
  double FTotalTime = 0;
  std::int32_t FM = 0;
  std::int32_t FK = 0;
  ChartSeries WorkClients;      // chWorkClients
  ChartSeries ErrorsInClients;  // chErrorsInClients
  // Failures so far over the plays at the moment: the documents carry it beside the two
  // histograms the window shows.
  ChartSeries Failures;

  // The play windows still open, in play order; closed ones leave the list here.
  std::vector<std::shared_ptr<PlayRecord>> OpenPlayWindows();
  char Separator() const { return separator_; }

 private:
  char separator_;
};

}  // namespace teravo
