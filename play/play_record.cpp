#include "play/play_record.h"

#include <utility>

#include "core/number_text.h"

namespace teravo {

namespace {

constexpr std::string_view kFieldNames[kFieldCount] = {
    "edCurTime",
    "edWorkClientNum",
    "edClientErrNums",
    "edServerErrNums",
    "edCorrectServerTime",
    "edNewClientErrorAdd",
    "edNewServerErrorAdd",
    "edTer",
    "edAverTer",
    "edPer",
    "edKg",
    "edAverCorrectTime",
    "edAverWaitTime",
};

constexpr std::string_view kChartNames[kChartCount] = {
    "chNums", "chClientErrors", "chAvTer", "chErrorsIntensity", "chErrorsGist",
};

}  // namespace

std::string_view FieldName(Field field) {
  return kFieldNames[static_cast<int>(field)];
}

std::string_view ChartName(Chart chart) {
  return kChartNames[static_cast<int>(chart)];
}

void PlayRecord::SetInt(Field field, std::int64_t value) {
  Value& v = values_[static_cast<int>(field)];
  v.kind = Value::Int;
  v.integer = value;
}

void PlayRecord::SetReal(Field field, long double value) {
  Value& v = values_[static_cast<int>(field)];
  v.kind = Value::Real;
  v.real = value;
}

void PlayRecord::SetText(Field field, std::string text) {
  Value& v = values_[static_cast<int>(field)];
  v.kind = Value::Text;
  v.text = std::move(text);
}

std::string PlayRecord::Text(Field field) const {
  const Value& v = values_[static_cast<int>(field)];
  switch (v.kind) {
    case Value::Int:
      return IntToStr(v.integer);
    case Value::Real:
      return FloatToStr(v.real, separator_);
    case Value::Text:
      return v.text;
    case Value::Empty:
      break;
  }
  return {};
}

}  // namespace teravo
