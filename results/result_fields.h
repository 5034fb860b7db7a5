#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace teravo {

// The thirteen value fields of a play results window, in the order the documents write them.
enum class Field : int {
  edCurTime,
  edWorkClientNum,
  edClientErrNums,
  edServerErrNums,
  edCorrectServerTime,
  edNewClientErrorAdd,
  edNewServerErrorAdd,
  edTer,
  edAverTer,
  edPer,
  edKg,
  edAverCorrectTime,
  edAverWaitTime,
};
inline constexpr int kFieldCount = static_cast<int>(Field::edAverWaitTime) + 1;

enum class ValueKind { Integer, Real };

// Where a field stands in the play results window.
enum class FieldGroup { Time, Clients, Server, Figures };

// One result field, declared once: what the record keeps, what a series averages, and what
// the views and documents call it.
struct ResultField {
  Field field;
  std::string_view name;  // the window's own identifier, used by the documents
  ValueKind kind;
  bool averaged;                // a series forms its mean and spread over the plays
  std::string_view caption;     // as the play results window labels it, colon included
  std::string_view windowUnit;  // the window's caption after the field; empty when none
  FieldGroup group;
  // The field named out of its window (tables, lists, axes): both groups have a
  // "Число ошибок", so the group comes first where it tells them apart.
  std::string_view title;
  std::string_view unit;  // "сутки" for a time; empty for a count, share or probability
};

// "title (unit)", or the title alone.
std::string TitleWithUnit(const ResultField& field);

// Every field in document order.
std::span<const ResultField> ResultFields();
const ResultField& ResultFieldOf(Field field);
std::string_view FieldName(Field field);
bool IsAveragedField(Field field);

// The charts of a play results window, each with one series, in the order the documents
// write them.
enum class Chart : int {
  chNums,
  chClientErrors,
  chAvTer,
  chErrorsIntensity,
  chErrorsGist,
  chFailures,     // failures so far
  chFixedErrors,  // errors corrected so far
};
inline constexpr int kChartCount = static_cast<int>(Chart::chFixedErrors) + 1;

struct ResultChart {
  Chart chart;
  std::string_view name;
  bool overTime;  // a curve over the play's time; the histogram of errors is not
  bool counts;    // whole numbers on the y axis
  std::string_view title;
  std::string_view yUnit;  // for an axis title; empty when the title says it
};

std::span<const ResultChart> ResultCharts();
const ResultChart& ResultChartOf(Chart chart);
std::string_view ChartName(Chart chart);

}  // namespace teravo
