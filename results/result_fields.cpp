#include "results/result_fields.h"

#include <cstddef>

namespace teravo {

namespace {

using enum ValueKind;
using enum FieldGroup;

constexpr std::array<ResultField, kFieldCount> kFields = {{
    {Field::edCurTime, "edCurTime", Real, false, "Текущее время:", "(сутки)", Time, "Текущее время",
     "сутки"},
    {Field::edWorkClientNum, "edWorkClientNum", Integer, true, "Число рабочих:", "", Clients,
     "Клиенты: число рабочих", ""},
    {Field::edClientErrNums, "edClientErrNums", Integer, true, "Число ошибок:", "", Clients,
     "Клиенты: число ошибок", ""},
    {Field::edServerErrNums, "edServerErrNums", Integer, true, "Число ошибок:", "", Server,
     "Сервер: число ошибок", ""},
    {Field::edCorrectServerTime, "edCorrectServerTime", Real, true, "Время ремонта:", "", Server,
     "Сервер: время ремонта", "сутки"},
    {Field::edNewClientErrorAdd, "edNewClientErrorAdd", Integer, true,
     "Кол-во новых ошибок в клиентах:", "", Figures, "Кол-во новых ошибок в клиентах", ""},
    {Field::edNewServerErrorAdd, "edNewServerErrorAdd", Integer, true,
     "Кол-во новых ошибок в серевере:", "", Figures, "Кол-во новых ошибок в сервере", ""},
    {Field::edTer, "edTer", Real, true, "Время наработки до отказа:", "(сут)", Figures,
     "Время наработки до отказа", "сутки"},
    {Field::edAverTer, "edAverTer", Real, true, "Ср. время наработки до отказа:", "(сут)", Figures,
     "Ср. время наработки до отказа", "сутки"},
    {Field::edPer, "edPer", Real, true, "Вер. отказа ПО в ед. времени:", "", Figures,
     "Вер. отказа ПО в ед. времени", ""},
    {Field::edKg, "edKg", Real, true, "Коэффициент готовности:", "", Figures,
     "Коэффициент готовности", ""},
    {Field::edAverCorrectTime, "edAverCorrectTime", Real, true, "Ср. время ремонта:", "", Clients,
     "Клиенты: ср. время ремонта", "сутки"},
    {Field::edAverWaitTime, "edAverWaitTime", Real, true, "Ср. время ожидания:", "", Clients,
     "Клиенты: ср. время ожидания", "сутки"},
}};

constexpr std::array<ResultChart, kChartCount> kCharts = {{
    {Chart::chNums, "chNums", true, true, "Количество работающих клиентов", ""},
    {Chart::chClientErrors, "chClientErrors", true, true, "Количество ошибок в клиентах", ""},
    {Chart::chAvTer, "chAvTer", true, false, "Среднее время наработки до отказа (сутки)", ""},
    {Chart::chErrorsIntensity, "chErrorsIntensity", true, false,
     "Интенсивность потока ошибок  (1/сут)", ""},
    {Chart::chErrorsGist, "chErrorsGist", false, true, "Распределение ошибок в клиентах", ""},
    {Chart::chFailures, "chFailures", true, true, "Отказы нарастающим итогом", ""},
    {Chart::chFixedErrors, "chFixedErrors", true, true, "Исправлено ошибок нарастающим итогом", ""},
}};

// Each row stands at its own enumerator's place, so a look-up is an index.
constexpr bool FieldsInEnumOrder() {
  for (std::size_t i = 0; i < kFields.size(); ++i)
    if (static_cast<std::size_t>(kFields[i].field) != i) return false;
  return true;
}
constexpr bool ChartsInEnumOrder() {
  for (std::size_t i = 0; i < kCharts.size(); ++i)
    if (static_cast<std::size_t>(kCharts[i].chart) != i) return false;
  return true;
}
static_assert(FieldsInEnumOrder(), "every Field needs its row, in enumerator order");
static_assert(ChartsInEnumOrder(), "every Chart needs its row, in enumerator order");

}  // namespace

std::span<const ResultField> ResultFields() {
  return kFields;
}

const ResultField& ResultFieldOf(Field field) {
  return kFields[static_cast<std::size_t>(field)];
}

std::string_view FieldName(Field field) {
  return ResultFieldOf(field).name;
}

bool IsAveragedField(Field field) {
  return ResultFieldOf(field).averaged;
}

std::string TitleWithUnit(const ResultField& field) {
  std::string text(field.title);
  if (!field.unit.empty()) text.append(" (").append(field.unit).append(")");
  return text;
}

std::span<const ResultChart> ResultCharts() {
  return kCharts;
}

const ResultChart& ResultChartOf(Chart chart) {
  return kCharts[static_cast<std::size_t>(chart)];
}

std::string_view ChartName(Chart chart) {
  return ResultChartOf(chart).name;
}

}  // namespace teravo
