// Fits the simulation to each public failure data set of tests/data on the first 70 % of its
// time span and prints its holdout PSSE beside the four classic models'. Run by
// scripts/calibration-holdout.sh.
//
// Every data set gets the same recipe, scaled to its own time span T: 100 clients, a step of
// 1.5 T / 20000 with the request intensity one tenth of the largest the step allows, and the
// fitted edits edErrorsNum0 over [n / 2, 5 n] (n failures observed), edA over the spans that
// make one error's detection intensity 0.1 / T ... 30 / T, edMu over 1 / T ... 1000 / T.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "calibration/calibration.h"
#include "core/number_text.h"
#include "params/settings_edits.h"
#include "reliability/analysis_texts.h"
#include "tests/reliability/failure_samples.h"

namespace {

using namespace teravo;

struct DataSet {
  std::string name;
  FailureData data;
};

std::string Text(double value) {
  return FloatToStr(value, '.');
}

std::string Rounded(double value) {
  return Text(std::round(value * 10) / 10);
}

struct Recipe {
  TParameters start;
  std::vector<std::pair<std::string, std::string>> spans;
};

Recipe RecipeFor(const FailureData& data) {
  const double span = data.LastTime();
  const double n = static_cast<double>(data.FailureCount());
  const double step = 1.5 * span / 20000;
  const double requests = 0.1 / step;  // per client and day
  const double clients = 100;
  const std::string stepText = Text(step);
  const std::string requestsText = Text(requests);
  const TParameters start = ParametersFromTexts(
      {{"edClientsNum", "100"}, {"edYk", requestsText}, {"edDT", stepText}, {"edM", "20000"}});
  const double perError = clients * requests;  // detection intensity of one error per unit A
  return {start,
          {{"edErrorsNum0", Text(std::ceil(n / 2)) + ":" + Text(5 * n)},
           {"edA", Text(0.1 / span / perError) + ":" + Text(30 / span / perError)},
           {"edMu", Text(1 / span) + ":" + Text(1000 / span)}}};
}

}  // namespace

int main(int argc, char** argv) {
  const int plays = argc > 1 ? std::atoi(argv[1]) : 20;
  const std::vector<DataSet> sets = {{"SYS1", Sys1()}, {"NTDS", Ntds()}};
  const std::vector<std::string> names = {"edErrorsNum0", "edMu", "edA"};
  int won = 0;
  for (const DataSet& set : sets) {
    const Recipe recipe = RecipeFor(set.data);
    CalibrationSettings settings;
    settings.edits = std::get<std::vector<FittedEdit>>(FittedEditsOf(names, recipe.spans, '.'));
    settings.plays = plays;
    const Calibration result = Calibrate(recipe.start, set.data, settings);
    std::cout << set.name << " (" << set.data.FailureCount() << " failures, cut at "
              << Text(result.holdout->cutTime) << " d, " << result.holdout->heldOutPoints
              << " points held out):";
    double best = INFINITY;
    for (std::size_t m = 0; m < kGrowthModels.size(); ++m) {
      const std::optional<double> psse = result.classic->holdouts[m].psse;
      if (!psse) continue;
      best = std::min(best, *psse);
      std::cout << ' ' << ModelKey(kGrowthModels[m]) << ' ' << Rounded(*psse) << ';';
    }
    const std::optional<double> simulation = result.holdout->psse;
    std::cout << " simulation " << (simulation ? Rounded(*simulation) : "—");
    if (result.holdout->fit) {
      std::cout << " (";
      for (const EditEstimate& e : result.holdout->fit->estimates) {
        std::cout << e.name << ' ' << Text(e.value) << (e.atSpanEdge ? " at the span's edge" : "")
                  << (&e == &result.holdout->fit->estimates.back() ? ")" : ", ");
      }
    }
    const bool win = simulation && *simulation <= best;
    won += win ? 1 : 0;
    std::cout << (win ? " — no worse than the best" : " — worse than the best") << '\n';
  }
  std::cout << "The simulation is no worse than the best classic model on " << won << " of "
            << sets.size() << " data sets.\n";
  return 0;
}
