#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/general_error.h"

namespace teravo {

// Observed failure data, as a test team records it.
enum class DataLayout {
  FailureTimes,  // FT: the cumulative time of each failure
  Intervals,     // IF: the time from the previous failure (or the start) to each failure
  Counts,        // FC: interval ends T and the number of failures FC in each interval
};

// The unit of the times in a file. Model time is days: everything is converted on import.
enum class TimeUnit { Seconds, Hours, Days, Weeks };

double DaysPerUnit(TimeUnit unit);

// A refusal to read a file: one Russian text naming the line and the fault, shown as-is.
class DataError : public GeneralError {
 public:
  using GeneralError::GeneralError;
};

// Limits of what is read at all.
inline constexpr std::int64_t kMaxFileBytes = 50LL * 1024 * 1024;
inline constexpr int kMaxRows = 1'000'000;
inline constexpr int kMinFailures = 5;

struct ImportOptions {
  std::optional<DataLayout> layout;  // empty: from the header (one headerless column: FT)
  TimeUnit unit = TimeUnit::Seconds;
};

// One non-blank row of the file after the header, as the preview shows it.
struct DataRow {
  int line = 0;  // 1-based line of a CSV file, row number of a sheet
  std::vector<std::string> cells;
  std::string fault;  // empty when the row was read
};

struct FailureData {
  DataLayout layout = DataLayout::FailureTimes;
  TimeUnit unit = TimeUnit::Seconds;
  // FT and IF: cumulative failure times in days, non-decreasing and positive (IF summed up).
  std::vector<double> times;
  // FC: interval ends in days, increasing, and the number of failures in each interval; the
  // first interval starts at 0.
  std::vector<double> interval_ends;
  std::vector<std::int64_t> counts;
  // The line each value above came from.
  std::vector<int> source_lines;
  bool has_header = false;
  std::vector<std::string> ignored_columns;
  std::vector<DataRow> rows;
  // A preview only: the refusal the strict reader gives (the first faulty row, too few
  // failures); empty when it accepts the file.
  std::string fault;

  bool IsCounts() const { return layout == DataLayout::Counts; }
  std::int64_t FailureCount() const;
  // The last failure time or the last interval end, days; 0 without data.
  double LastTime() const;
};

// Strict readers: the data, or DataError at the first fault. `bytes` is the whole file.
FailureData ReadFailureCsv(std::string_view bytes, const ImportOptions& options);
FailureData ReadFailureXlsx(std::string_view bytes, const ImportOptions& options);

// Lenient readers for the preview: every row with its fault marked, the data of the good
// rows, and the whole-file fault in `fault`. They still throw DataError when the file is no
// table at all (binary, too large, too many rows, no recognisable layout).
FailureData PreviewFailureCsv(std::string_view bytes, const ImportOptions& options);
FailureData PreviewFailureXlsx(std::string_view bytes, const ImportOptions& options);

// Reads a file from disk: XLSX when the name ends in ".xlsx" (any case), CSV otherwise. The
// size is checked before reading.
FailureData ReadFailureFile(const std::filesystem::path& path, const ImportOptions& options);
FailureData PreviewFailureFile(const std::filesystem::path& path, const ImportOptions& options);

// Data made in code (simulations, benchmarks); the caller keeps the order rules above.
FailureData FailureTimesInDays(std::vector<double> times);
FailureData FailureCountsInDays(std::vector<double> interval_ends,
                                std::vector<std::int64_t> counts);

}  // namespace teravo
