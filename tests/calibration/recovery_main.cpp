// Fits the simulation to data the model made itself with known edits, over replicate data
// sets, and prints how often the 95 % intervals hold the truth and how far the estimates
// fall from it. Run by scripts/calibration-recovery.sh.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "calibration/calibration.h"
#include "calibration/simulated_data.h"
#include "core/number_text.h"
#include "params/settings_edits.h"

namespace {

using namespace teravo;

// The complex the data come from, as the test suite's, with any edX=TEXT given after.
TParameters Truth(const std::vector<std::string>& overrides) {
  EditTexts texts = {{"edClientsNum", "50"}, {"edA", "0.002"},
                     {"edErrorsNum0", "80"}, {"edCoeffComplexity", "0.2"},
                     {"edMu", "10"},         {"edDT", "0.005"},
                     {"edM", "400"}};
  for (const std::string& text : overrides) {
    const std::size_t equals = text.find('=');
    texts.emplace_back(std::string_view(text).substr(0, equals),
                       std::string_view(text).substr(equals + 1));
  }
  return ParametersFromTexts(texts);
}

std::string Text(double value) {
  return FloatToStr(value, '.');
}

}  // namespace

int main(int argc, char** argv) {
  const int replicates = argc > 1 ? std::atoi(argv[1]) : 20;
  const int plays = argc > 2 ? std::atoi(argv[2]) : 20;
  const TParameters truth = Truth({argv + std::min(argc, 3), argv + argc});
  const std::vector<std::string> names = {"edErrorsNum0", "edMu"};
  const double truthValues[] = {static_cast<double>(truth.FErrorsNum0), truth.FMu};
  CalibrationSettings settings;
  settings.edits = std::get<std::vector<FittedEdit>>(FittedEditsOf(names, {}, '.'));
  settings.plays = plays;
  settings.firstSeed = 1;  // the data come from seeds 1001 ...: never a fitting seed
  std::vector<int> covered(names.size(), 0);
  std::vector<std::vector<double>> errors(names.size());
  for (int r = 0; r < replicates; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const FailureData data = SimulatedFailureData(truth, 1001 + static_cast<std::uint32_t>(r), 2.0);
    const SimulationFit fit = FitSimulation(truth, data, settings, {}, true);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "data " << r + 1 << ": " << data.FailureCount() << " failures, deviance "
              << Text(fit.distance) << ", " << fit.evaluations << " evaluations, "
              << Text(std::round(seconds * 10) / 10) << " s";
    for (std::size_t i = 0; i < names.size(); ++i) {
      const EditEstimate& e = fit.estimates[i];
      const bool in = e.interval.low <= truthValues[i] && truthValues[i] <= e.interval.high;
      covered[i] += in ? 1 : 0;
      errors[i].push_back(std::abs(e.value - truthValues[i]) / truthValues[i]);
      std::cout << "; " << e.name << " " << Text(e.value) << " [" << Text(e.interval.low) << ", "
                << Text(e.interval.high) << "]" << (in ? "" : " (miss)")
                << (e.interval.identified ? "" : " (not identified)");
    }
    if (fit.uncertainty) std::cout << ", dispersion " << Text(fit.uncertainty->dispersion);
    std::cout << '\n';
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::sort(errors[i].begin(), errors[i].end());
    const double median =
        errors[i].size() % 2 == 1
            ? errors[i][errors[i].size() / 2]
            : (errors[i][errors[i].size() / 2 - 1] + errors[i][errors[i].size() / 2]) / 2;
    std::cout << names[i] << ": the interval holds the truth in " << covered[i] << " of "
              << replicates << ", median relative error " << Text(std::round(median * 1000) / 10)
              << " %\n";
  }
  return 0;
}
