#include "play/sweep_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/number_text.h"
#include "core/rounding.h"

namespace teravo {

namespace {

std::vector<std::string_view> Split(std::string_view text, char at) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(at, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string Quoted(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text).push_back('\'');
  return quoted;
}

// "a:b:n" or "a:b:n:log" into texts; on failure, what is wrong.
std::variant<std::vector<std::string>, std::string> RangeTexts(
    const SettingsEdit& edit, const std::vector<std::string_view>& parts, char separator) {
  if (parts.size() != 3 && !(parts.size() == 4 && parts[3] == "log")) {
    return std::string("a range is FROM:TO:COUNT or FROM:TO:COUNT:log");
  }
  const auto from = ParseReal(parts[0], separator);
  const auto to = ParseReal(parts[1], separator);
  if (!from) return Quoted(parts[0]) + " is not a number";
  if (!to) return Quoted(parts[1]) + " is not a number";
  int count = 0;
  const auto [end, ec] = std::from_chars(parts[2].data(), parts[2].data() + parts[2].size(), count);
  if (ec != std::errc{} || end != parts[2].data() + parts[2].size() || count < 2 ||
      count > kMaxSweepValues) {
    return "the count of a range needs a whole number from 2 to " + IntToStr(kMaxSweepValues);
  }
  const bool log = parts.size() == 4;
  if (log && (*from <= 0 || *to <= 0))
    return std::string("a log-spaced range needs values above 0");
  const bool integer = edit.kind == EditKind::Integer;
  constexpr long double kIntLow = std::numeric_limits<std::int32_t>::min();
  constexpr long double kIntHigh = std::numeric_limits<std::int32_t>::max();
  if (integer && (std::min(*from, *to) < kIntLow || std::max(*from, *to) > kIntHigh)) {
    return std::string(edit.name) + " takes whole numbers from -2147483648 to 2147483647";
  }

  std::vector<std::string> texts;
  const long double last = count - 1;
  for (int i = 0; i < count; ++i) {
    // The ends are taken as typed, so they never drift by a rounding.
    long double value = i == 0 ? *from : *to;
    if (i > 0 && i < count - 1) {
      value = log ? std::exp(std::log(*from) + (std::log(*to) - std::log(*from)) * i / last)
                  : *from + (*to - *from) * i / last;
    }
    if (!std::isfinite(value)) return std::string("the range is too wide");
    texts.push_back(integer ? IntToStr(RoundTiesEven(value)) : FloatToStr(value, separator));
  }
  return texts;
}

}  // namespace

bool IsSweepable(const SettingsEdit& edit) {
  return edit.kind != EditKind::Display && !std::holds_alternative<std::monostate>(edit.field);
}

std::variant<SweepValues, std::string> ParseSweepValues(std::string_view text, char separator) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::string("a sweep is edX=VALUES");
  const std::string_view name = text.substr(0, equals);
  const SettingsEdit* edit = FindSettingsEdit(name);
  if (edit == nullptr) return "unknown settings edit " + Quoted(name);
  if (!IsSweepable(*edit)) {
    return std::string(name) + " cannot be swept: only an edit that fills a parameter can";
  }
  if (separator == ';' || separator == ':') {
    return "the decimal separator " + Quoted(std::string(1, separator)) +
           " would be read as the sweep's own";
  }
  const std::string_view values = text.substr(equals + 1);

  SweepValues sweep;
  sweep.edit = edit;
  std::vector<std::string> texts;
  if (values.find(':') != std::string_view::npos) {
    if (values.find(';') != std::string_view::npos) {
      return std::string("a sweep is either a list (;) or a range (:), not both");
    }
    auto range = RangeTexts(*edit, Split(values, ':'), separator);
    if (const auto* problem = std::get_if<std::string>(&range)) return *problem;
    texts = std::move(std::get<std::vector<std::string>>(range));
    sweep.logSpaced = values.ends_with(":log");
  } else {
    for (const std::string_view value : Split(values, ';')) {
      if (value.empty()) return std::string("an empty value in the list");
      texts.emplace_back(value);
    }
    if (texts.size() > static_cast<std::size_t>(kMaxSweepValues)) {
      return "a sweep takes at most " + IntToStr(kMaxSweepValues) + " values";
    }
  }
  for (std::string& value : texts) {
    if (std::find(sweep.texts.begin(), sweep.texts.end(), value) == sweep.texts.end()) {
      sweep.texts.push_back(std::move(value));
    }
  }
  return sweep;
}

}  // namespace teravo
