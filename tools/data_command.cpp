#include <exception>
#include <string>

#include "core/number_text.h"
#include "reliability/analysis_document.h"
#include "reliability/failure_analysis.h"
#include "reliability/failure_data.h"
#include "tools/data_options.h"
#include "tools/sim_commands.h"
#include "tools/sim_output.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

// A command line the analysis cannot use: what is wrong with it.
struct DataRefusal {
  std::string text;
};

double NumberOf(const std::string& option, const std::string& text, char separator) {
  const auto value = ParseReal(text, separator);
  if (!value) throw DataRefusal{option + ": '" + text + "' is not a number"};
  return static_cast<double>(*value);
}

// --predict KEY=VALUE over the request offered in the scale of the data.
void ApplyPredictions(const SimOptions& options, char separator, PredictionRequest& request) {
  for (const auto& [key, text] : options.predict) {
    double* target = key == "dt"            ? &request.horizon
                     : key == "failures"    ? &request.next_failures
                     : key == "intensity"   ? &request.target_intensity
                     : key == "mission"     ? &request.mission_time
                     : key == "reliability" ? &request.target_reliability
                                            : nullptr;
    if (target == nullptr) {
      throw DataRefusal{"--predict: unknown key '" + key +
                        "' (dt, failures, intensity, mission or reliability)"};
    }
    *target = NumberOf("--predict " + key, text, separator);
  }
}

}  // namespace

int RunDataCommand(const SimOptions& options, const CommandIo& io) {
  const char separator = options.separator.value_or(io.localeSeparator);
  const ImportOptions import = ImportOptionsOf(options);
  AnalysisOptions analysis;
  try {
    if (options.holdout) {
      analysis.holdout_share = NumberOf("--holdout", *options.holdout, separator);
      if (!(analysis.holdout_share > 0 && analysis.holdout_share < 1)) {
        throw DataRefusal{"--holdout needs a share between 0 and 1"};
      }
    }
    const FailureData data = ReadFailureFile(*options.dataFile, import);
    analysis.prediction = RequestScaledTo(data);
    ApplyPredictions(options, separator, analysis.prediction);
    CheckRequest(analysis.prediction);
    const FailureAnalysis result = AnalyseFailureData(data, analysis);
    if (options.csvFolder) {
      FolderFiles files;
      for (auto& [name, text] : AnalysisCsvTables(data, result, analysis, separator)) {
        files.emplace_back(std::move(name), std::move(text));
      }
      if (const int status = WriteCsvFolder(options.csvFolder, files, io.err);
          status != kExitSuccess) {
        return status;
      }
    }
    io.out << AnalysisJson(data, result, analysis);
    return FinishDocument(io.out, io.err, kExitSuccess);
  } catch (const DataRefusal& refusal) {
    io.err << "teravo-sim: " << refusal.text << '\n';
  } catch (const DataError& error) {
    io.err << "teravo-sim: " << *options.dataFile << ": " << error.what() << '\n';
  }
  return kExitRefused;
}

}  // namespace teravo::sim
