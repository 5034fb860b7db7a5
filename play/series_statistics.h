#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "play/play_record.h"

namespace teravo {

// How values scatter around their mean: the sample standard deviation and the half-width of
// the 95 % confidence interval of the mean (Student's t with n - 1 degrees of freedom).
// Empty for fewer than two values, which give no interval.
std::optional<PlayRecord::Spread> SpreadOf(std::span<const long double> values);

// The p-th quantile (0 <= p <= 1) of the values, interpolated linearly between the order
// statistics (the common "type 7" definition). The values are reordered.
long double Quantile(std::vector<double>& values, long double p);

// The spread of every averaged field of `plays` (their texts read back, as the means are) and
// the band between the 5th and 95th percentiles at each point of the four curves over time.
void FormSpreads(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages);

}  // namespace teravo
