#include "reliability/failure_data.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <system_error>

#include "reliability/text_table.h"

namespace teravo {
namespace {

bool IsXlsx(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".xlsx";
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  if (error || !file) throw DataError("Файл не открывается: " + path.string() + ".");
  if (size > static_cast<std::uintmax_t>(kMaxFileBytes)) RefuseTooLarge();
  std::string bytes(size, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(size));
  if (file.gcount() != static_cast<std::streamsize>(size)) {
    throw DataError("Файл не читается: " + path.string() + ".");
  }
  return bytes;
}

}  // namespace

double DaysPerUnit(TimeUnit unit) {
  switch (unit) {
    case TimeUnit::Seconds:
      return 1.0 / 86400.0;
    case TimeUnit::Hours:
      return 1.0 / 24.0;
    case TimeUnit::Days:
      return 1.0;
    case TimeUnit::Weeks:
      return 7.0;
  }
  return 1.0;
}

std::int64_t FailureData::FailureCount() const {
  if (IsCounts()) return std::accumulate(counts.begin(), counts.end(), std::int64_t{0});
  return static_cast<std::int64_t>(times.size());
}

double FailureData::LastTime() const {
  const auto& values = IsCounts() ? interval_ends : times;
  return values.empty() ? 0.0 : values.back();
}

FailureData ReadFailureCsv(std::string_view bytes, const ImportOptions& options) {
  return TableToFailureData(SplitCsv(bytes), options, true);
}

FailureData PreviewFailureCsv(std::string_view bytes, const ImportOptions& options) {
  return TableToFailureData(SplitCsv(bytes), options, false);
}

FailureData ReadFailureXlsx(std::string_view bytes, const ImportOptions& options) {
  return TableToFailureData(ReadXlsxSheet(bytes), options, true);
}

FailureData PreviewFailureXlsx(std::string_view bytes, const ImportOptions& options) {
  return TableToFailureData(ReadXlsxSheet(bytes), options, false);
}

FailureData ReadFailureFile(const std::filesystem::path& path, const ImportOptions& options) {
  const std::string bytes = ReadBytes(path);
  return IsXlsx(path) ? ReadFailureXlsx(bytes, options) : ReadFailureCsv(bytes, options);
}

FailureData PreviewFailureFile(const std::filesystem::path& path, const ImportOptions& options) {
  const std::string bytes = ReadBytes(path);
  return IsXlsx(path) ? PreviewFailureXlsx(bytes, options) : PreviewFailureCsv(bytes, options);
}

FailureData FailureTimesInDays(std::vector<double> times) {
  FailureData data;
  data.layout = DataLayout::FailureTimes;
  data.unit = TimeUnit::Days;
  data.times = std::move(times);
  return data;
}

FailureData FailureCountsInDays(std::vector<double> interval_ends,
                                std::vector<std::int64_t> counts) {
  FailureData data;
  data.layout = DataLayout::Counts;
  data.unit = TimeUnit::Days;
  data.interval_ends = std::move(interval_ends);
  data.counts = std::move(counts);
  return data;
}

}  // namespace teravo
