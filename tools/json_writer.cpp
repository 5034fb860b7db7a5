#include "tools/json_writer.h"

#include <charconv>
#include <cmath>

#include "core/number_text.h"

namespace teravo::sim {

namespace {

constexpr Field kFieldOrder[kFieldCount] = {
    Field::edCurTime,
    Field::edWorkClientNum,
    Field::edClientErrNums,
    Field::edServerErrNums,
    Field::edCorrectServerTime,
    Field::edNewClientErrorAdd,
    Field::edNewServerErrorAdd,
    Field::edTer,
    Field::edAverTer,
    Field::edPer,
    Field::edKg,
    Field::edAverCorrectTime,
    Field::edAverWaitTime,
};
constexpr Chart kChartOrder[kChartCount] = {
    Chart::chNums,       Chart::chClientErrors, Chart::chAvTer, Chart::chErrorsIntensity,
    Chart::chErrorsGist,
};

void AppendPoints(std::string& out, const ChartSeries& series) {
  out += '[';
  for (int i = 0; i < series.Count(); ++i) {
    if (i > 0) out += ',';
    out += '[';
    out += JsonNumber(series.Xs()[static_cast<std::size_t>(i)]);
    out += ',';
    out += JsonNumber(series.Ys()[static_cast<std::size_t>(i)]);
    out += ']';
  }
  out += ']';
}

void AppendKey(std::string& out, std::string_view key) {
  out += JsonString(key);
  out += ':';
}

void AppendWindow(std::string& out, const PlayRecord& record, bool withSeed, bool pointArrays) {
  out += '{';
  AppendKey(out, "title");
  out += JsonString(record.Title);
  if (withSeed) {
    out += ',';
    AppendKey(out, "seed");
    out += IntToStr(record.Seed);
  }
  out += ',';
  AppendKey(out, "beginSettings");
  out += '[';
  for (std::size_t i = 0; i < record.BeginSettings.size(); ++i) {
    if (i > 0) out += ',';
    out += JsonString(record.BeginSettings[i]);
  }
  out += "],";
  AppendKey(out, "fields");
  out += '{';
  for (int f = 0; f < kFieldCount; ++f) {
    if (f > 0) out += ',';
    AppendKey(out, FieldName(kFieldOrder[f]));
    out += JsonString(record.Text(kFieldOrder[f]));
  }
  out += '}';
  if (pointArrays) {
    out += ',';
    AppendKey(out, "series");
    out += '{';
    for (int c = 0; c < kChartCount; ++c) {
      if (c > 0) out += ',';
      AppendKey(out, ChartName(kChartOrder[c]));
      AppendPoints(out, record.Series(kChartOrder[c]));
    }
    out += '}';
  }
  out += '}';
}

void AppendDistributions(std::string& out, const DistributionsRecord& record, bool pointArrays) {
  out += '{';
  AppendKey(out, "caption");
  out += JsonString(record.Caption);
  out += ',';
  AppendKey(out, "edCurTime");
  out += JsonString(record.CurTimeText);
  if (pointArrays) {
    out += ',';
    AppendKey(out, "chWorkClients");
    AppendPoints(out, record.WorkClients);
    out += ',';
    AppendKey(out, "chErrorsInClients");
    AppendPoints(out, record.ErrorsInClients);
  }
  out += '}';
}

}  // namespace

std::string JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xf];
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string JsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string RunJson(const SimHost& host, bool pointArrays) {
  const auto& windows = host.PlayWindows();
  // A series opens its averages window right after its last play and before the
  // distributions window; a single play opens no more than its own.
  const bool series = host.Distributions() != nullptr && !windows.empty();
  const std::size_t plays = series ? windows.size() - 1 : windows.size();

  std::string out = "{";
  AppendKey(out, "plays");
  out += '[';
  for (std::size_t i = 0; i < plays; ++i) {
    if (i > 0) out += ',';
    out += "\n";
    AppendWindow(out, *windows[i], true, pointArrays);
  }
  out += ']';
  if (series) {
    out += ",\n";
    AppendKey(out, "averages");
    AppendWindow(out, *windows.back(), false, pointArrays);
    out += ",\n";
    AppendKey(out, "distributions");
    AppendDistributions(out, *host.Distributions(), pointArrays);
  }
  out += "}\n";
  return out;
}

}  // namespace teravo::sim
