#pragma once

namespace teravo {

// Point sizes of the windows' fonts; the design positions were laid out for them.
inline constexpr int kTextPointSize = 8;        // captions, edits and chart axis labels
inline constexpr int kChartTitlePointSize = 9;  // the title above each chart
inline constexpr int kValuePointSize = 10;      // a play's bold values and group titles

}  // namespace teravo
