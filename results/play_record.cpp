#include "results/play_record.h"

#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>
#include <variant>

#include "core/number_text.h"

namespace teravo {

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

long double PlayRecord::DisplayedValue(Field field) const {
  const Value& value = values_[static_cast<int>(field)];
  if (const auto* integer = std::get_if<std::int64_t>(&value)) {
    // Read as the integer text the window shows, which holds 32 bits.
    if (*integer >= std::numeric_limits<std::int32_t>::min() &&
        *integer <= std::numeric_limits<std::int32_t>::max()) {
      return static_cast<long double>(*integer);
    }
    return StrToInt(IntToStr(*integer));
  }
  if (const auto* real = std::get_if<long double>(&value)) {
    return StrToFloat(FloatToStr(*real, separator_), separator_);
  }
  const std::string text = Text(field);
  if (ResultFieldOf(field).kind == ValueKind::Integer) return StrToInt(text);
  return StrToFloat(text, separator_);
}

long double PlayRecord::ExactValue(Field field) const {
  if (const auto& mean = ExactMeans[static_cast<std::size_t>(field)]) return *mean;
  return DisplayedValue(field);
}

}  // namespace teravo
