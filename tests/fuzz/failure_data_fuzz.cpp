// libFuzzer target: the failure-data CSV reader, strict and lenient, and a bounded
// Goel-Okumoto fit of what it accepts.
//
// Input: the first byte holds the options (bits 0-1: no layout, FT, IF or FC; bits 2-3: the
// time unit); the rest is the file. DataError is an expected outcome; anything else that
// escapes, a sanitizer report or a broken property below is a finding.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "reliability/failure_data.h"
#include "reliability/model_fit.h"
#include "tests/fuzz/finding.h"

namespace teravo {
namespace {

[[noreturn]] void Fail(const char* what) {
  ReportFinding("teravo_failure_data_fuzz", what);
}

void CheckData(const FailureData& data) {
  const auto& values = data.IsCounts() ? data.interval_ends : data.times;
  if (data.source_lines.size() != values.size()) Fail("a value without its line");
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!std::isfinite(values[i]) || !(values[i] > 0)) Fail("a time not positive and finite");
    if (i > 0 && (data.IsCounts() ? values[i] <= values[i - 1] : values[i] < values[i - 1])) {
      Fail("times out of order");
    }
  }
  for (const auto count : data.counts) {
    if (count < 0) Fail("a negative count");
  }
}

ImportOptions OptionsFrom(std::uint8_t flags) {
  ImportOptions options;
  const int layout = flags & 3;
  if (layout > 0) options.layout = static_cast<DataLayout>(layout - 1);
  options.unit = static_cast<TimeUnit>((flags >> 2) & 3);
  return options;
}

}  // namespace
}  // namespace teravo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace teravo;
  if (size == 0) return 0;
  const ImportOptions options = OptionsFrom(bytes[0]);
  const std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);

  bool previewed = false;
  FailureData preview;
  try {
    preview = PreviewFailureCsv(text, options);
    previewed = true;
    CheckData(preview);
  } catch (const DataError&) {
  }
  try {
    const FailureData data = ReadFailureCsv(text, options);
    CheckData(data);
    if (!previewed || !preview.fault.empty()) Fail("strict reader accepts what preview refuses");
    if (data.times != preview.times || data.counts != preview.counts) {
      Fail("strict reader and preview read different data");
    }
    if (data.FailureCount() < kMinFailures) Fail("too few failures accepted");
    if (data.source_lines.size() <= 200) {
      const ModelFit fit = FitGrowthModel(GrowthModel::GoelOkumoto, data, {400, 0.05});
      if (fit.status == FitStatus::Converged &&
          (!std::isfinite(fit.log_likelihood) || !(fit.ks_distance >= 0 && fit.ks_distance <= 1))) {
        Fail("a converged fit with figures out of range");
      }
    }
  } catch (const DataError&) {
    if (previewed && preview.fault.empty()) Fail("preview accepts what the strict reader refuses");
  }
  return 0;
}
