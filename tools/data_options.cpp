#include "tools/data_options.h"

namespace teravo::sim {

ImportOptions ImportOptionsOf(const SimOptions& options) {
  ImportOptions import;
  if (options.layout == "ft") import.layout = DataLayout::FailureTimes;
  if (options.layout == "if") import.layout = DataLayout::Intervals;
  if (options.layout == "fc") import.layout = DataLayout::Counts;
  import.unit = options.timeUnit == "seconds" ? TimeUnit::Seconds
                : options.timeUnit == "hours" ? TimeUnit::Hours
                : options.timeUnit == "weeks" ? TimeUnit::Weeks
                                              : TimeUnit::Days;
  return import;
}

}  // namespace teravo::sim
