#include "decisions/staffing.h"

#include <algorithm>

#include "core/general_error.h"

namespace teravo {

bool Staffing::Confirmed(double probability) const {
  const bool answerHolds = recheck && recheck->Share() >= probability;
  const bool fewerFails = !recheckBelow || recheckBelow->Share() < probability;
  return answerHolds && fewerFails;
}

Staffing FindStaffing(const StaffingQuestion& question, double probability, std::int32_t plays,
                      const StaffingPlays& play, std::span<const StaffingTrial> known) {
  if (question.fewest < 1 || question.most < question.fewest) {
    Raise("Число программистов: нужен диапазон целых чисел от 1, «от» не больше «до».");
  }
  if (question.maxEvaluations < 1) Raise("Поиску нужна хотя бы одна оценка.");
  Staffing staffing;
  std::vector<StaffingTrial> played(known.begin(), known.end());
  int evaluations = 0;
  bool stopped = false;
  // The share of a count on the common seeds: played once, then remembered.
  const auto reaches = [&](std::int32_t programmers) -> std::optional<bool> {
    auto it = std::find_if(played.begin(), played.end(), [programmers](const StaffingTrial& t) {
      return t.programmers == programmers;
    });
    if (it == played.end()) {
      if (evaluations >= question.maxEvaluations) return std::nullopt;
      ++evaluations;
      const auto reached = play(programmers, false);
      if (!reached) {
        stopped = true;
        return std::nullopt;
      }
      played.push_back({programmers, plays, *reached, false});
      it = played.end() - 1;
    }
    if (std::find_if(staffing.trials.begin(), staffing.trials.end(), [&](const StaffingTrial& t) {
          return t.programmers == programmers;
        }) == staffing.trials.end()) {
      staffing.trials.push_back(*it);
    }
    return it->Share() >= probability;
  };

  const auto most = reaches(question.most);
  if (!most) return staffing;  // stopped
  if (!*most) {
    staffing.status = StaffingStatus::NotReached;
    return staffing;
  }
  std::int32_t low = question.fewest;  // every count below `low` is known to fall short
  std::int32_t high = question.most;   // reaches it
  staffing.status = StaffingStatus::Found;
  while (low < high) {
    const std::int32_t middle = low + (high - low) / 2;
    const auto holds = reaches(middle);
    if (!holds) {
      staffing.status = stopped ? StaffingStatus::Stopped : StaffingStatus::BudgetSpent;
      break;
    }
    if (*holds) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  if (staffing.status == StaffingStatus::Stopped) return staffing;
  staffing.answer = high;

  const auto fresh = [&](std::int32_t programmers) -> std::optional<StaffingTrial> {
    const auto reached = play(programmers, true);
    if (!reached) return std::nullopt;
    StaffingTrial trial{programmers, plays, *reached, true};
    staffing.trials.push_back(trial);
    return trial;
  };
  staffing.recheck = fresh(high);
  if (high > 1 && staffing.recheck) staffing.recheckBelow = fresh(high - 1);
  if (!staffing.recheck || (high > 1 && !staffing.recheckBelow)) {
    staffing.status = StaffingStatus::Stopped;
  }
  return staffing;
}

}  // namespace teravo
