#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "params/settings_edits.h"
#include "play/play_record.h"

namespace teravo {

// A sweep: a series at each value of one settings edit, every point with the same seeds.

inline constexpr int kMaxSweepValues = 10000;

// Only a number the user types that fills a parameter can be swept.
bool IsSweepable(const SettingsEdit& edit);

struct SweepValues {
  const SettingsEdit* edit = nullptr;
  std::vector<std::string> texts;  // each once, in the order given or generated
  bool logSpaced = false;
};

// Reads "edX=v1;v2;..." (the texts kept as typed: acceptance judges them) or a range
// "edX=a:b:n" / "edX=a:b:n:log": n values from a to b inclusive, evenly or log-spaced,
// written in the general number format, rounded ties-to-even for an integer edit. A value
// that comes twice is kept once. On failure, what is wrong.
std::variant<SweepValues, std::string> ParseSweepValues(std::string_view text, char separator);

// The averaged figures of a series: every field but the moment.
bool IsAveragedField(Field field);

// One point of a sweep, as texts: the figures as the averages window shows them.
struct SweepPoint {
  std::int32_t index = 0;  // 1-based, in the value list
  std::string value;
  std::optional<std::string> refused;  // why the value did not run
  std::int32_t plays = 0;
  struct Spread {
    std::string deviation;
    std::string halfWidth;
  };
  std::array<std::string, kFieldCount> means{};  // averaged fields only
  // Empty for a series of one play, which has no spread.
  std::array<std::optional<Spread>, kFieldCount> spreads{};
};

SweepPoint SweepPointOf(std::int32_t index, std::string value, std::int32_t plays,
                        const PlayRecord& averages);

struct SweepTable {
  std::string edit;
  std::vector<std::string> values;
  std::uint32_t seed = 0;  // of the first play of every point
  char separator = ',';
  std::vector<SweepPoint> points;  // in index order
};

}  // namespace teravo
