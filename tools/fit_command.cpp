#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

#include "calibration/calibration.h"
#include "calibration/fit_document.h"
#include "core/number_text.h"
#include "model/teravo.h"
#include "params/acceptance.h"
#include "params/parameter_file.h"
#include "tools/command_refusal.h"
#include "tools/data_options.h"
#include "tools/run_setup.h"
#include "tools/sim_commands.h"
#include "tools/sim_output.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

double Real(const std::optional<std::string>& text, std::string_view option, double otherwise,
            double low, double high, char separator) {
  if (!text) return otherwise;
  const auto value = ParseReal(*text, separator);
  if (!value || !(*value >= low && *value <= high)) {
    throw Refused{std::string(option) + " needs a number from " + FloatToStr(low, separator) +
                  " to " + FloatToStr(high, separator)};
  }
  return static_cast<double>(*value);
}

int Whole(const std::optional<std::string>& text, std::string_view option, int otherwise, int low,
          int high) {
  if (!text) return otherwise;
  const auto value = ParseInt(*text);
  if (!value || *value < low || *value > high) {
    throw Refused{std::string(option) + " needs a whole number from " + IntToStr(low) + " to " +
                  IntToStr(high)};
  }
  return *value;
}

CalibrationSettings SettingsOf(const SimOptions& options, char separator) {
  CalibrationSettings settings;
  std::vector<std::string> names = options.fitEdits;
  if (names.empty()) names.assign(std::begin(kDefaultFittedEdits), std::end(kDefaultFittedEdits));
  auto edits = FittedEditsOf(names, options.fitRanges, separator);
  if (auto* fault = std::get_if<std::string>(&edits)) throw Refused{*fault};
  settings.edits = std::get<std::vector<FittedEdit>>(std::move(edits));
  settings.matched = options.fitFixedErrors ? MatchedCurve::FixedErrors : MatchedCurve::Failures;
  settings.plays = Whole(options.fitPlays, "--plays", 20, 1, 10000);
  settings.firstSeed = options.seed.value_or(1);
  settings.threads = options.threads;
  const double holdout = Real(options.holdout, "--holdout", 0.7, 0, 0.99, separator);
  settings.holdoutShare = holdout > 0 ? std::optional(holdout) : std::nullopt;
  if (options.fitHorizon) {
    settings.horizon = Real(options.fitHorizon, "--horizon", 0, 0, 1e6, separator);
  }
  settings.limits.maxEvaluations =
      Whole(options.fitMaxEvaluations, "--max-evaluations", 400, 1, 1000000);
  settings.limits.maxSeconds = Real(options.fitMaxSeconds, "--max-seconds", 600, 1, 1e7, separator);
  return settings;
}

// The form's file with the fitted edits, the step and the play length the fit stored.
ParameterFile FittedFile(const SimSettingsForm& form, const Calibration& calibration) {
  ParameterFile file = ParameterFileOf(form);
  const auto set = [&file](std::string_view name, std::string text) {
    for (auto& [edit, value] : file.texts) {
      if (edit == name) value = text;
    }
  };
  for (const EditEstimate& estimate : calibration.fit.estimates) {
    const bool integer = FindSettingsEdit(estimate.name)->kind == EditKind::Integer;
    set(estimate.name, integer ? IntToStr(static_cast<std::int64_t>(estimate.value))
                               : ShortestText(estimate.value));
  }
  set(edit::DT, ShortestText(calibration.fit.fitted.FDT));
  set(edit::M, IntToStr(calibration.fit.fitted.FM));
  return file;
}

}  // namespace

int RunFitCommand(const SimOptions& options, const CommandIo& io) {
  const char separator = options.separator.value_or(io.localeSeparator);
  SimSettingsForm form(separator, io.err);
  SimOptions given = options;
  given.saveParams.reset();  // the fitted set is saved, after the fit
  if (const int status = FillSettingsForm(given, form, io.err); status != kExitSuccess) {
    return status;
  }
  // A target that cannot take the fitted set is told before the fit, not after it.
  if (options.saveParams) {
    if (const std::string problem = CheckParameterFileTarget(*options.saveParams);
        !problem.empty()) {
      io.err << "teravo-sim: " << problem << '\n';
      return kExitRefused;
    }
  }
  TTeravo model;
  if (!AcceptParameters(model, form)) return kExitRefused;
  try {
    const CalibrationSettings settings = SettingsOf(options, separator);
    FailureData data;
    try {
      data = ReadFailureFile(*options.dataFile, ImportOptionsOf(options));
    } catch (const DataError& error) {
      throw Refused{error.what()};
    }
    FitControl control;
    if (io.errIsTerminal) {
      control.progress = [&err = io.err](const FitProgress& progress) {
        err << "\rПодбор: оценок " << progress.evaluations << ", розыгрышей " << progress.plays
            << ", лучшая девиация " << FloatToStr(progress.bestDistance, ',') << "   "
            << std::flush;
      };
    }
    const Calibration calibration = Calibrate(model, data, settings, control);
    if (io.errIsTerminal) io.err << '\n';
    if (options.saveParams) {
      const std::string problem =
          WriteParameterFile(*options.saveParams, FittedFile(form, calibration));
      if (!problem.empty()) {
        io.err << "teravo-sim: " << problem << '\n';
        return kExitGeneralError;
      }
    }
    io.out << CalibrationJson(calibration, settings, data);
    return FinishDocument(io.out, io.err, kExitSuccess);
  } catch (const Refused& refused) {
    io.err << "teravo-sim: " << refused.text << '\n';
  } catch (const CalibrationRefusal& refusal) {
    io.err << "teravo-sim: " << refusal.what() << '\n';
  }
  return kExitRefused;
}

}  // namespace teravo::sim
