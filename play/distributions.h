#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "play/chart_series.h"
#include "play/command_outcome.h"
#include "play/play_record.h"

namespace teravo {

class PlayHost;

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
  double FTotalTime = 0;
  std::int32_t FM = 0;
  std::int32_t FK = 0;
  ChartSeries WorkClients;      // chWorkClients
  ChartSeries ErrorsInClients;  // chErrorsInClients

  // The play windows still open, in play order; closed ones leave the list here.
  std::vector<std::shared_ptr<PlayRecord>> OpenPlayWindows();
  char Separator() const { return separator_; }

 private:
  char separator_;
};

// Whether the moment in CurTimeText can be shown: refused when negative or beyond the play
// time; otherwise `index` (when given) is the step it stands for. A moment that is not a
// number throws GeneralError.
CommandOutcome CheckMoment(const DistributionsRecord& record, std::int64_t* index = nullptr);

// The recompute button (and the first recompute of a series): the two histograms at the
// moment in CurTimeText over the plays still open. A moment that is not a number throws
// GeneralError; a negative one or one beyond the play time is refused with its message. Both
// leave the histograms as they were.
CommandOutcome edRecallClick(DistributionsRecord& record, PlayHost& host);
// Closes every play window of the series; the averages and distributions windows stay.
void buDeleteClick(DistributionsRecord& record, PlayHost& host);

}  // namespace teravo
