#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "results/play_record.h"

namespace teravo {

// One point of a sweep: the series at one value of the swept edit.
struct SweepPoint {
  std::int32_t index = 0;              // 1-based, in the value list
  std::string value;                   // the value as the edit takes it
  std::optional<std::string> refused;  // why the value did not run; then there are no figures
  std::int32_t plays = 0;
  // The means of the averaged fields as the averages window shows them (an integer field's
  // mean rounded to the nearest integer).
  std::array<long double, kFieldCount> means{};
  // The same means unrounded, which the sweep's table, chart and CSV show.
  std::array<long double, kFieldCount> exactMeans{};
  // Empty for a series of one play, which has no spread.
  std::array<std::optional<PlayRecord::Spread>, kFieldCount> spreads{};

  long double Mean(Field field) const { return means[static_cast<std::size_t>(field)]; }
  long double ExactMean(Field field) const { return exactMeans[static_cast<std::size_t>(field)]; }
  const std::optional<PlayRecord::Spread>& SpreadOf(Field field) const {
    return spreads[static_cast<std::size_t>(field)];
  }
};

SweepPoint SweepPointOf(std::int32_t index, std::string value, std::int32_t plays,
                        const PlayRecord& averages);

// A mean as the averages window shows it: plain decimal for an integer field, the general
// number format for a real one.
std::string MeanText(Field field, long double mean, char separator);

struct SweepTable {
  std::string edit;
  std::vector<std::string> values;
  std::uint32_t seed = 0;  // of the first play of every point
  char separator = ',';
  std::vector<SweepPoint> points;  // in index order
};

}  // namespace teravo
