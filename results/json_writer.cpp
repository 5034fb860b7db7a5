#include "results/json_writer.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <utility>
#include <vector>

#include "core/number_text.h"
#include "results/part_digest.h"

namespace teravo {

namespace {

using Json = nlohmann::ordered_json;  // members stay in the order they are set

// Compact, UTF-8 passed through; a byte that is not UTF-8 becomes U+FFFD, so the document
// stays valid JSON whatever a text holds.
std::string Dump(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Chart points are written with std::to_chars rather than by nlohmann: its Grisu2 misses the
// shortest text now and then (172.72727272841 comes out as 172.72727272840999), and the
// points have always been the shortest texts that read back to the same double. Infinities
// and NaN, which JSON cannot hold, are null.
void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

std::string PointsJson(const ChartSeries& series) {
  const auto [xs, ys] = series.AllPoints();
  std::string out = "[";
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (i > 0) out += ',';
    out += '[';
    AppendNumber(out, xs[i]);
    out += ',';
    AppendNumber(out, ys[i]);
    out += ']';
  }
  out += ']';
  return out;
}

// Adds "key":json as the last member of an object already dumped.
void AppendMember(std::string& object, std::string_view key, std::string_view json) {
  object.pop_back();  // its closing brace
  if (object.size() > 1) object += ',';
  object += Dump(Json(std::string(key)));
  object += ':';
  object += json;
  object += '}';
}

// The spread of an averages window's figures, as texts like the figures; null for a series
// of one play, which has no spread.
Json SpreadJson(const PlayRecord& record) {
  Json spread = Json::object();
  for (const ResultField& row : ResultFields()) {
    const auto& value = record.Spreads[static_cast<std::size_t>(row.field)];
    if (!value) continue;
    spread[std::string(row.name)] = {
        {"deviation", FloatToStr(value->deviation, record.Separator())},
        {"halfWidth", FloatToStr(value->halfWidth, record.Separator())}};
  }
  return spread.empty() ? Json(nullptr) : spread;
}

// An averages window carries the spread of its figures after them, where a play has its seed.
std::string WindowJson(const PlayRecord& record, bool pointArrays) {
  const bool withSeed = record.Kind == RecordKind::Play;
  Json window = Json::object();
  window["title"] = record.Title;
  if (withSeed) window["seed"] = record.Seed;
  window["beginSettings"] = record.BeginSettings;
  Json& fields = window["fields"] = Json::object();
  for (const ResultField& row : ResultFields())
    fields[std::string(row.name)] = record.Text(row.field);
  if (!withSeed) window["spread"] = SpreadJson(record);
  std::string out = Dump(window);
  if (pointArrays) {
    std::string charts = "{}";
    for (const ResultChart& row : ResultCharts()) {
      AppendMember(charts, row.name, PointsJson(record.Series(row.chart)));
    }
    AppendMember(out, "series", charts);
  }
  return out;
}

std::string DistributionsJson(const DistributionsRecord& record, bool pointArrays) {
  std::string out = Dump({{"caption", record.Caption}, {"edCurTime", record.CurTimeText}});
  if (pointArrays) {
    AppendMember(out, "chWorkClients", PointsJson(record.WorkClients));
    AppendMember(out, "chErrorsInClients", PointsJson(record.ErrorsInClients));
    AppendMember(out, "chFailures", PointsJson(record.Failures));
  }
  return out;
}

Json SweepPointJson(const SweepPoint& point, char separator) {
  Json json = {{"index", point.index}, {"value", point.value}};
  if (point.refused) {
    json["refused"] = *point.refused;
    return json;
  }
  json["plays"] = point.plays;
  Json fields = Json::object();
  // Unrounded, so that a sweep merged from its parts shows the same means as a whole one.
  Json exact = Json::object();
  Json spread = Json::object();
  for (const ResultField& row : ResultFields()) {
    if (!row.averaged) continue;
    const std::string name(row.name);
    fields[name] = MeanText(row.field, point.Mean(row.field), separator);
    exact[name] = FloatToStr(point.ExactMean(row.field), separator);
    if (const auto& value = point.SpreadOf(row.field)) {
      spread[name] = {{"deviation", FloatToStr(value->deviation, separator)},
                      {"halfWidth", FloatToStr(value->halfWidth, separator)}};
    }
  }
  json["fields"] = std::move(fields);
  json["exactMeans"] = std::move(exact);
  json["spread"] = spread.empty() ? Json(nullptr) : std::move(spread);
  return json;
}

}  // namespace

std::string PlayWindowJson(const PlayRecord& record, bool pointArrays) {
  return WindowJson(record, pointArrays);
}

void WritePlaysPartJson(std::string_view header,
                        const std::vector<std::shared_ptr<PlayRecord>>& plays, bool pointArrays,
                        std::ostream& out) {
  for (const auto& play : plays) WindowJson(*play, false);  // every text first
  PartDigest digest;
  const auto write = [&](std::string_view bytes) {
    digest.Add(bytes);
    out << bytes;
  };
  write("{\"part\":");
  write(header);
  write(",\n\"plays\":[");
  for (std::size_t i = 0; i < plays.size(); ++i) {
    write(i > 0 ? ",\n" : "\n");
    write(WindowJson(*plays[i], pointArrays));
  }
  write("]");
  out << digest.Ending();
}

void WriteSweepJson(const SweepTable& table, std::ostream& out, std::string_view partHeader) {
  std::string head = Dump({{"edit", table.edit}, {"seed", table.seed}, {"values", table.values}});
  head.pop_back();  // the points follow
  // Only a part carries a digest: the whole run's document is not merged again.
  PartDigest digest;
  const auto write = [&](std::string_view bytes) {
    digest.Add(bytes);
    out << bytes;
  };
  write("{");
  if (!partHeader.empty()) {
    write("\"part\":");
    write(partHeader);
    write(",\n");
  }
  write("\"sweep\":");
  write(head);
  write(",\"points\":[");
  for (std::size_t i = 0; i < table.points.size(); ++i) {
    write(i > 0 ? ",\n" : "\n");
    write(Dump(SweepPointJson(table.points[i], table.separator)));
  }
  write("]}");
  out << (partHeader.empty() ? std::string("}\n") : digest.Ending());
}

void WriteRunJson(const RunWindows& run, bool pointArrays, std::ostream& out) {
  // Every text first: a figure that cannot be shown fails the run before a byte is written.
  for (const auto& play : run.plays) WindowJson(*play, false);
  if (run.averages) WindowJson(*run.averages, false);

  // One line for each window, so that a reader of the text can find them; written window by
  // window, so that a long series never holds its whole document at once.
  out << "{\"plays\":[";
  for (std::size_t i = 0; i < run.plays.size(); ++i) {
    if (i > 0) out << ',';
    out << '\n' << WindowJson(*run.plays[i], pointArrays);
  }
  out << ']';
  if (run.averages && run.distributions) {
    out << ",\n\"averages\":" << WindowJson(*run.averages, pointArrays);
    out << ",\n\"distributions\":" << DistributionsJson(*run.distributions, pointArrays);
  }
  out << "}\n";
}

std::string RunJson(const RunWindows& run, bool pointArrays) {
  std::ostringstream out;
  WriteRunJson(run, pointArrays, out);
  return out.str();
}

}  // namespace teravo
