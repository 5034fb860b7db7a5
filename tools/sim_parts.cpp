#include "tools/sim_parts.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <utility>
#include <variant>
#include <vector>

#include "core/number_text.h"
#include "core/safe_file.h"
#include "params/run_description.h"
#include "play/multi_play.h"
#include "play/play_driver.h"
#include "play/sweep.h"
#include "results/csv_export.h"
#include "results/json_writer.h"
#include "results/part_digest.h"
#include "tools/sim_host.h"
#include "tools/sim_output.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

using Json = nlohmann::ordered_json;

std::string Dump(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// What a file lacks to be a part; the file's name is added where it is caught.
struct NotAPart {
  std::string why;
};

using ParameterMember =
    std::variant<std::int32_t TParameters::*, double TParameters::*, bool TParameters::*>;
// Every field of TParameters: a part carries the accepted set whole, the doubles exactly.
const std::pair<std::string_view, ParameterMember> kParameterMembers[] = {
    {"FClientsNum", &TParameters::FClientsNum},
    {"FProgrammersNum", &TParameters::FProgrammersNum},
    {"FA", &TParameters::FA},
    {"FErrorsNum0", &TParameters::FErrorsNum0},
    {"FCoeffComplexity", &TParameters::FCoeffComplexity},
    {"FYk", &TParameters::FYk},
    {"FMu", &TParameters::FMu},
    {"FDT", &TParameters::FDT},
    {"FP_newErr", &TParameters::FP_newErr},
    {"FY_newErr", &TParameters::FY_newErr},
    {"FByProbability", &TParameters::FByProbability},
    {"FM", &TParameters::FM},
    {"FK", &TParameters::FK},
};

Json ParametersJson(const TParameters& parameters) {
  Json json = Json::object();
  for (const auto& [name, member] : kParameterMembers) {
    // clang 14, which the fuzzing build uses, cannot capture a structured binding.
    std::visit([&, &name = name](auto field) { json[std::string(name)] = parameters.*field; },
               member);
  }
  return json;
}

// The readers below take a value of the expected type or say what is missing.
const Json& Member(const Json& object, std::string_view key) {
  if (!object.is_object() || !object.contains(key))
    throw NotAPart{"no \"" + std::string(key) + "\""};
  return object.at(key);
}

std::string Text(const Json& object, std::string_view key) {
  const Json& value = Member(object, key);
  if (!value.is_string()) throw NotAPart{"\"" + std::string(key) + "\" is not a text"};
  return value.get<std::string>();
}

std::int64_t Whole(const Json& object, std::string_view key, std::int64_t least,
                   std::int64_t most) {
  const Json& value = Member(object, key);
  if (!value.is_number_integer() ||
      (value.is_number_unsigned() &&
       value.get<std::uint64_t>() > static_cast<std::uint64_t>(most)) ||
      value.get<std::int64_t>() < least || value.get<std::int64_t>() > most) {
    throw NotAPart{"\"" + std::string(key) + "\" is not a whole number from " + IntToStr(least) +
                   " to " + IntToStr(most)};
  }
  return value.get<std::int64_t>();
}

bool Flag(const Json& object, std::string_view key) {
  const Json& value = Member(object, key);
  if (!value.is_boolean()) throw NotAPart{"\"" + std::string(key) + "\" is not true or false"};
  return value.get<bool>();
}

const Json& Array(const Json& object, std::string_view key) {
  const Json& value = Member(object, key);
  if (!value.is_array()) throw NotAPart{"\"" + std::string(key) + "\" is not a list"};
  return value;
}

TParameters ParametersOf(const Json& json) {
  TParameters parameters;
  for (const auto& [name, member] : kParameterMembers) {
    if (const auto* integer = std::get_if<std::int32_t TParameters::*>(&member)) {
      parameters.*(*integer) =
          static_cast<std::int32_t>(Whole(json, name, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max()));
    } else if (const auto* real = std::get_if<double TParameters::*>(&member)) {
      const Json& value = Member(json, name);
      if (!value.is_number()) throw NotAPart{"\"" + std::string(name) + "\" is not a number"};
      parameters.*(*real) = value.get<double>();
    } else {
      parameters.*std::get<bool TParameters::*>(member) = Flag(json, name);
    }
  }
  return parameters;
}

// The merge plays from the header's parameters: each must lie in the range its edit allows,
// as acceptance left it (a step of 0 would otherwise fail the merge far from its cause).
void CheckRanges(const TParameters& parameters) {
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (!IsReadInMode(edit, parameters.FByProbability)) continue;
    double value = 0;
    if (const auto* integer = std::get_if<std::int32_t TParameters::*>(&edit.field)) {
      value = parameters.**integer;
    } else if (const auto* real = std::get_if<double TParameters::*>(&edit.field)) {
      value = parameters.**real;
    } else {
      continue;
    }
    if (!edit.range.Contains(value)) {
      throw NotAPart{"\"parameters\": the value of " + std::string(edit.name) +
                     " is outside the range its edit allows"};
    }
  }
}

// A chart point's coordinate as the writer's shortest text gave it: "-0" reads back as the
// integer 0, so its sign is restored; null stands for what JSON cannot hold.
double Coordinate(const Json& value) {
  if (value.is_null()) return std::numeric_limits<double>::quiet_NaN();
  if (!value.is_number()) throw NotAPart{"a chart point is not a number"};
  if (value.is_number_integer() && !value.is_number_unsigned() && value.get<std::int64_t>() == 0) {
    return -0.0;
  }
  return value.get<double>();
}

// A play window back as the record it was written from: its texts as they were shown, its
// chart points in their order.
std::shared_ptr<PlayRecord> RecordOf(const Json& window, char separator, bool keptPoints,
                                     std::int32_t steps) {
  auto record = std::make_shared<PlayRecord>(separator);
  record->Title = Text(window, "title");
  record->Seed = static_cast<std::uint32_t>(
      Whole(window, "seed", 0, std::numeric_limits<std::uint32_t>::max()));
  record->BeginSettings.clear();
  for (const Json& line : Array(window, "beginSettings")) {
    if (!line.is_string()) throw NotAPart{"a line of \"beginSettings\" is not a text"};
    record->BeginSettings.push_back(line.get<std::string>());
  }
  const Json& fields = Member(window, "fields");
  for (const ResultField& row : ResultFields()) {
    std::string text = Text(fields, row.name);
    const bool number = row.kind == ValueKind::Integer ? ParseInt(text).has_value()
                                                       : ParseReal(text, separator).has_value();
    if (!number) {
      throw NotAPart{"\"" + std::string(row.name) + "\" is not " +
                     (row.kind == ValueKind::Integer ? "a whole number" : "a number") + ": " +
                     text};
    }
    record->SetText(row.field, std::move(text));
  }
  if (!keptPoints) return record;
  const Json& charts = Member(window, "series");
  for (const ResultChart& row : ResultCharts()) {
    const Chart chart = row.chart;
    const Json& points = Array(charts, row.name);
    // A curve over the play's time has a point for each of its FM + 1 steps.
    const std::int64_t expected = std::int64_t{steps} + 1;
    if (row.overTime && static_cast<std::int64_t>(points.size()) != expected) {
      throw NotAPart{"\"" + std::string(row.name) + "\" has " + std::to_string(points.size()) +
                     " points, not the " + std::to_string(expected) + " of its play"};
    }
    ChartSeries& series = record->Series(chart);
    series.Reserve(points.size());
    for (const Json& point : points) {
      if (!point.is_array() || point.size() != 2) throw NotAPart{"a chart point is not [x,y]"};
      series.AddXY(Coordinate(point[0]), Coordinate(point[1]));
    }
  }
  return record;
}

// A figure of a sweep point: a number in the run's own text form.
long double FigureOf(const Json& object, std::string_view key, char separator) {
  const std::string text = Text(object, key);
  const auto value = ParseReal(text, separator);
  if (!value) throw NotAPart{"\"" + std::string(key) + "\" is not a number: " + text};
  return *value;
}

SweepPoint PointOf(const Json& json, char separator) {
  SweepPoint point;
  point.index = static_cast<std::int32_t>(Whole(json, "index", 1, kMaxSweepValues));
  point.value = Text(json, "value");
  if (json.contains("refused")) {
    point.refused = Text(json, "refused");
    return point;
  }
  point.plays =
      static_cast<std::int32_t>(Whole(json, "plays", 1, std::numeric_limits<std::int32_t>::max()));
  const Json& fields = Member(json, "fields");
  const Json& exact = Member(json, "exactMeans");
  const Json& spread = Member(json, "spread");
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    const std::string name(row.name);
    const auto at = static_cast<std::size_t>(row.field);
    point.means[at] = FigureOf(fields, name, separator);
    point.exactMeans[at] = FigureOf(exact, name, separator);
    if (spread.is_object() && spread.contains(name)) {
      const Json& value = spread.at(name);
      point.spreads[at] = PlayRecord::Spread{FigureOf(value, "deviation", separator),
                                             FigureOf(value, "halfWidth", separator)};
    }
  }
  return point;
}

std::string RangeText(std::int32_t first, std::int32_t last) {
  return first == last ? IntToStr(first) : IntToStr(first) + "-" + IntToStr(last);
}

void ReadContents(const Json& document, Part& part) {
  const Json& header = Member(document, "part");
  const std::string run = Text(header, "run");
  if (run != "series" && run != "sweep") throw NotAPart{"\"run\" is neither series nor sweep"};
  part.series = run == "series";
  part.seed = static_cast<std::uint32_t>(
      Whole(header, "seed", 0, std::numeric_limits<std::uint32_t>::max()));
  const std::string separator = Text(header, "separator");
  if (separator.size() != 1) throw NotAPart{"\"separator\" is not one character"};
  part.separator = separator[0];
  if (part.series) {
    part.parameters = ParametersOf(Member(header, "parameters"));
    CheckRanges(part.parameters);
    part.timeText = Text(header, std::string(edit::Time));
    if (header.contains("moment")) part.moment = Text(header, "moment");
    part.keptPoints = Flag(header, "keptPoints");
    part.total = static_cast<std::int32_t>(
        Whole(header, "plays", 1, std::numeric_limits<std::int32_t>::max()));
  } else {
    Member(header, "edits");
    Flag(header, "byProbability");
    part.edit = Text(header, "edit");
    for (const Json& value : Array(header, "values")) {
      if (!value.is_string()) throw NotAPart{"a value is not a text"};
      part.values.push_back(value.get<std::string>());
    }
    part.total = static_cast<std::int32_t>(part.values.size());
  }
  const Json& range = Array(header, "range");
  if (range.size() != 2 || !range[0].is_number_integer() || !range[1].is_number_integer() ||
      range[0].get<std::int64_t>() < 1 ||
      range[0].get<std::int64_t>() > range[1].get<std::int64_t>() ||
      range[1].get<std::int64_t>() > part.total) {
    throw NotAPart{"\"range\" is not FIRST, LAST within the run"};
  }
  part.range = {range[0].get<std::int32_t>(), range[1].get<std::int32_t>()};
  const auto count = static_cast<std::size_t>(part.range.last - part.range.first + 1);
  Json withoutRange = header;
  withoutRange.erase("range");
  part.header = Dump(withoutRange);

  if (part.series) {
    const Json& plays = Array(document, "plays");
    if (plays.size() != count) throw NotAPart{"it holds not as many plays as its range"};
    if (part.parameters.FK != part.total) {
      throw NotAPart{"its \"plays\" and its parameters' FK differ"};
    }
    TTeravo model;
    model.Parameters() = part.parameters;
    const std::string description = GetParametersText(model, part.timeText, part.separator);
    for (std::size_t i = 0; i < count; ++i) {
      const std::string play = "play " + IntToStr(part.range.first + static_cast<std::int32_t>(i));
      try {
        part.plays.push_back(
            RecordOf(plays[i], part.separator, part.keptPoints, part.parameters.FM));
      } catch (const NotAPart& problem) {
        throw NotAPart{play + ": " + problem.why};
      }
      const PlayRecord& record = *part.plays.back();
      // Play k of the run starts from seed N + k - 1.
      const std::uint32_t seed = part.seed + static_cast<std::uint32_t>(part.range.first - 1) +
                                 static_cast<std::uint32_t>(i);
      if (record.Seed != seed) throw NotAPart{play + " has another seed than its run gives it"};
      // The header is what the merge computes from; each play tells what it was run with.
      const std::vector<std::string> begun = {std::string(kBeginSettingsHeading), description,
                                              std::string(kSeedLine) + IntToStr(seed)};
      if (record.BeginSettings != begun) {
        throw NotAPart{play + ": its \"beginSettings\" disagree with the header's parameters"};
      }
    }
  } else {
    const Json& points = Array(Member(document, "sweep"), "points");
    if (points.size() != count) throw NotAPart{"it holds not as many points as its range"};
    for (std::size_t i = 0; i < count; ++i) {
      const auto index = part.range.first + static_cast<std::int32_t>(i);
      SweepPoint point;
      try {
        point = PointOf(points[i], part.separator);
      } catch (const NotAPart& problem) {
        throw NotAPart{"point " + IntToStr(index) + ": " + problem.why};
      }
      if (point.index != index || point.value != part.values[static_cast<std::size_t>(index - 1)]) {
        throw NotAPart{"its point " + IntToStr(index) + " is not the run's"};
      }
      part.points.push_back(std::move(point));
    }
  }
}

// The file's bytes; a path that is no regular file is told as what it is.
std::string FileBytes(const std::string& path) {
  if (const auto problem = CheckFileToRead(path)) {
    throw MergeRefusal{path + ": " + FileProblemText(*problem)};
  }
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw MergeRefusal{path + ": " + FileProblemText(FailureOf({errno, std::generic_category()}))};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad())
    throw MergeRefusal{path + ": " +
                       FileProblemText({FileProblem::Other, {EIO, std::generic_category()}})};
  return std::move(bytes).str();
}

// The first member in which two headers differ, as "parameters.FA"; empty when they agree.
std::string Difference(const Json& a, const Json& b) {
  if (!a.is_object() || !b.is_object()) return a == b ? std::string() : std::string("?");
  for (const auto& [key, value] : a.items()) {
    if (!b.contains(key)) return key;
    if (value != b.at(key)) {
      const std::string inner = value.is_object() ? Difference(value, b.at(key)) : std::string();
      return inner.empty() ? key : key + "." + inner;
    }
  }
  for (const auto& [key, value] : b.items()) {
    if (!a.contains(key)) return key;
  }
  return {};
}

// The parts in the order of their ranges, which must cover the run once.
void CheckCoverage(std::vector<Part>& parts) {
  std::sort(parts.begin(), parts.end(),
            [](const Part& a, const Part& b) { return a.range.first < b.range.first; });
  const std::string unit = parts.front().series ? "plays " : "points ";
  std::int32_t next = 1;
  const Part* previous = nullptr;
  for (const Part& part : parts) {
    if (part.range.first < next) {
      throw MergeRefusal{
          previous->path + " and " + part.path + " both hold " + unit +
          RangeText(part.range.first, std::min(previous->range.last, part.range.last))};
    }
    if (part.range.first > next) {
      throw MergeRefusal{"no part holds " + unit + RangeText(next, part.range.first - 1)};
    }
    next = part.range.last + 1;
    previous = &part;
  }
  if (next <= parts.front().total) {
    throw MergeRefusal{"no part holds " + unit + RangeText(next, parts.front().total)};
  }
}

}  // namespace

int RunSeriesPart(const TTeravo& model, const PlayContext& context, const SeriesOptions& series,
                  const SimOptions& options, std::ostream& out, std::ostream& err) {
  const PartRange range = *options.plays;
  TParameters part = model.Parameters();
  part.FK = range.last - range.first + 1;
  // The plays get the play numbers and seeds of the whole run.
  const SeriesStart start{
      range.first - 1, *options.seed + static_cast<std::uint32_t>(range.first - 1), {}};
  SeriesPlays plays = RunSeriesPlays(part, start, context, series);
  if (plays.error) std::rethrow_exception(plays.error);

  Json header = {{"run", "series"},
                 {"seed", *options.seed},
                 {"separator", std::string(1, context.Separator)},
                 {"parameters", ParametersJson(model.Parameters())},
                 {std::string(edit::Time), context.TotalTimeText}};
  if (options.moment) header["moment"] = *options.moment;
  header["keptPoints"] = options.pointArrays;
  header["plays"] = model.FK;
  header["range"] = {range.first, range.last};
  WritePlaysPartJson(Dump(header), plays.records, options.pointArrays, out);
  return FinishDocument(out, err, kExitSuccess);
}

std::string SweepPartHeader(const SettingsForm& form, const SweepTable& table, PartRange range) {
  Json edits = Json::object();
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (edit.kind != EditKind::Display) edits[std::string(edit.name)] = form.Text(edit.name);
  }
  Json header = {{"run", "sweep"},
                 {"seed", table.seed},
                 {"separator", std::string(1, table.separator)},
                 {"edits", edits},
                 {"byProbability", form.IsProbabilityChecked()},
                 {"edit", table.edit},
                 {"values", table.values}};
  header["range"] = {range.first, range.last};
  return Dump(header);
}

Part ReadPartText(std::string_view text, const std::string& path) {
  Part part;
  part.path = path;
  try {
    const Json document = Json::parse(text);
    ReadContents(document, part);
  } catch (const Json::exception& error) {
    throw MergeRefusal{path + " is not a part of a teravo-sim run (" + error.what() + ")"};
  } catch (const NotAPart& problem) {
    throw MergeRefusal{path + " is not a part of a teravo-sim run: " + problem.why};
  }
  // Checked last, so that a part damaged in a way the reading names is told that way.
  if (const auto problem = DigestProblem(text)) throw MergeRefusal{path + ": " + *problem};
  return part;
}

std::vector<Part> ReadParts(const std::vector<std::string>& paths) {
  std::vector<Part> parts;
  for (const std::string& path : paths) {
    parts.push_back(ReadPartText(FileBytes(path), path));
    if (const std::string differs =
            Difference(Json::parse(parts.front().header), Json::parse(parts.back().header));
        !differs.empty()) {
      throw MergeRefusal{parts.front().path + " and " + path +
                         " are parts of different runs: their \"" + differs + "\" differ"};
    }
  }
  CheckCoverage(parts);
  return parts;
}

}  // namespace teravo::sim
