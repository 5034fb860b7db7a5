#include "play/play_record.h"

#include <cstddef>
#include <iterator>
#include <type_traits>
#include <utility>
#include <variant>

#include "core/number_text.h"

namespace teravo {

namespace {

constexpr std::string_view kFieldNames[] = {
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

constexpr std::string_view kChartNames[] = {
    "chNums", "chClientErrors", "chAvTer", "chErrorsIntensity", "chErrorsGist",
};

// A sized array would quietly take fewer names than there are enumerators.
static_assert(std::size(kFieldNames) == static_cast<std::size_t>(kFieldCount),
              "every Field needs exactly one name");
static_assert(std::size(kChartNames) == static_cast<std::size_t>(kChartCount),
              "every Chart needs exactly one name");

}  // namespace

std::string_view FieldName(Field field) {
  return kFieldNames[static_cast<int>(field)];
}

std::string_view ChartName(Chart chart) {
  return kChartNames[static_cast<int>(chart)];
}

void PlayRecord::SetText(Field field, std::string text) {
  values_[static_cast<int>(field)] = std::move(text);
}

std::string PlayRecord::Text(Field field) const {
  return std::visit(
      [this](const auto& value) -> std::string {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::int64_t>) {
          return IntToStr(value);
        } else if constexpr (std::is_same_v<T, long double>) {
          return FloatToStr(value, separator_);
        } else if constexpr (std::is_same_v<T, std::string>) {
          return value;
        } else {
          static_assert(std::is_same_v<T, std::monostate>, "a new kind of value needs its text");
          return {};
        }
      },
      values_[static_cast<int>(field)]);
}

}  // namespace teravo
