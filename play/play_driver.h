#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_host.h"

namespace teravo {

// Every GistRefreshStep-th pass refreshes the histogram: FM / 100 to the nearest integer,
// a tie to the even neighbour, at least 1.
std::int32_t GistRefreshStep(std::int32_t m);

// The error histogram of a play window: clears the series and adds exactly 100 points,
// (j + 1, number of errors whose position p has j <= 100 * p < j + 1), zeros included.
void FillErrorHistogram(const ErrorList& errors, ChartSeries& series);

// Why a play stopped at `step`: new errors came faster than an error list can hold.
std::string ErrorLimitText(const TTeravo& model, std::int64_t step);

// The figures of a finished play, field by field (an integer field holds a whole number), as
// its window shows them at the end: the state after the last step and what `end` adds.
using PlayFigures = std::array<long double, kFieldCount>;
PlayFigures FinalFigures(const TTeravo& model, const TPlayEnd& end);
// Sets every field of `record` to its figure, by the field's kind.
void SetFigures(PlayRecord& record, const PlayFigures& figures);

// The errors corrected so far in the play: those it began with (`initialErrors`, clients and
// server) and those brought in since, less those left.
std::int64_t FixedErrors(const TTeravo& model, std::int64_t initialErrors);

// What a play needs besides the model and its context.
struct PlayOptions {
  // Without points the charts stay empty (the histogram of errors aside): for runs that
  // report only figures, so that a long series does not keep every play's curves.
  bool keepPoints = true;
  // Asked between steps: a stopped play keeps what it showed so far and says so in its title.
  std::stop_token stop;
};

inline constexpr std::string_view kStoppedMark = " (остановлен)";
// The last line of a play's description: the seed it can be replayed from.
inline constexpr std::string_view kSeedLine = "Начальное значение датчика: ";

inline constexpr std::string_view kNothingToReplay =
    "Повторить можно только отдельный розыгрыш, а не средние значения серии.";

// Plays again the play of `original` (not an averages window): the same seed and the
// parameters it ran with, into a new window under the model's next number.
CommandOutcome ReplayPlay(TTeravo& model, PlayHost& host, const PlayContext& context,
                          const PlayRecord& original, const PlayOptions& options = {});

// Runs one whole play of the model into a new play window and returns it.
std::shared_ptr<PlayRecord> Play(TTeravo& model, PlayHost& host, const PlayContext& context,
                                 const PlayOptions& options = {});

}  // namespace teravo
