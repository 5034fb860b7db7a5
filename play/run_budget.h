#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/parameters.h"

namespace teravo {

// What a play or a series would take, estimated before it starts from the parameters alone.
struct RunNeeds {
  long double bytes = 0;        // memory at the peak
  std::string_view memoryEdit;  // the edit whose value drives the memory most
  long double draws = 0;        // an upper bound on the random draws of the whole run
  long double seconds = 0;      // the time those draws would take at most, on all workers
};

// `plays` is 1 for a single play; `threads` the workers of a series (0: every core).
RunNeeds EstimateNeeds(const TParameters& p, std::int32_t plays, bool keepPoints, int threads);

// The memory this machine has free for a run, in bytes.
std::uint64_t MachineMemoryBytes();

// Work beyond this asks before it starts.
inline constexpr long double kLongRunSeconds = 3600;

// "Кол-во итераций слишком велико: для розыгрыша нужно около 52 ГБ памяти." when the needs
// exceed `memory`; empty otherwise.
std::optional<std::string> MemoryRefusal(const RunNeeds& needs, std::int32_t plays,
                                         std::uint64_t memory);
// A question for the user when the work may take longer than an hour; empty otherwise.
// `what` names the work: "Розыгрыш" (a play or a series) or "Исследование" (a sweep).
std::optional<std::string> LongRunQuestion(const RunNeeds& needs,
                                           std::string_view what = "Розыгрыш");

// How a size reads to a person: "около 52 ГБ", "около 1,5 ГБ", "около 300 МБ".
std::string AboutBytes(long double bytes);
// "около 3 ч", "около 2 сут".
std::string AboutDuration(long double seconds);

}  // namespace teravo
