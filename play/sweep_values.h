#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "params/settings_edits.h"
#include "results/sweep_record.h"

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

}  // namespace teravo
