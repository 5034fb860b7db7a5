#include "decisions/target.h"

#include <cmath>

#include "core/number_text.h"

namespace teravo {

namespace {

struct QuantityName {
  TargetQuantity quantity;
  std::string_view key;
  std::string_view words;
};
constexpr QuantityName kQuantities[] = {
    {TargetQuantity::Availability, "Kg", "Kг"},
    {TargetQuantity::FailureIntensity, "intensity", "интенсивность отказов"},
    {TargetQuantity::ClientErrors, "client_errors", "ошибок в клиентах"},
    {TargetQuantity::WorkingClients, "working", "работающих клиентов"},
    {TargetQuantity::Failures, "failures", "отказов накоплено"},
};

const QuantityName& NameOf(TargetQuantity quantity) {
  for (const QuantityName& name : kQuantities) {
    if (name.quantity == quantity) return name;
  }
  return kQuantities[0];
}

std::string_view SignOf(TargetQuantity quantity) {
  return NeedsAtLeast(quantity) ? ">=" : "<=";
}

std::string Forms() {
  std::string forms;
  for (const QuantityName& name : kQuantities) {
    forms += (forms.empty() ? "" : ", ") + std::string(name.key) +
             std::string(SignOf(name.quantity)) + "X";
  }
  return "a target is one of " + forms;
}

}  // namespace

Curve CurveOf(TargetQuantity quantity) {
  switch (quantity) {
    case TargetQuantity::Availability:
      return Curve::Availability;
    case TargetQuantity::FailureIntensity:
      return Curve::FailureIntensity;
    case TargetQuantity::ClientErrors:
      return Curve::ClientErrors;
    case TargetQuantity::WorkingClients:
      return Curve::WorkingClients;
    case TargetQuantity::Failures:
      return Curve::Failures;
  }
  return Curve::Availability;
}

bool NeedsAtLeast(TargetQuantity quantity) {
  return quantity != TargetQuantity::FailureIntensity && quantity != TargetQuantity::ClientErrors;
}

bool Meets(const Target& target, double value) {
  return NeedsAtLeast(target.quantity) ? value >= target.threshold : value <= target.threshold;
}

std::string_view QuantityKey(TargetQuantity quantity) {
  return NameOf(quantity).key;
}

std::variant<Target, std::string> ParseTarget(std::string_view text, char separator) {
  for (const QuantityName& name : kQuantities) {
    if (!text.starts_with(name.key)) continue;
    std::string_view rest = text.substr(name.key.size());
    const std::string_view sign = SignOf(name.quantity);
    if (!rest.starts_with(sign)) {
      return std::string(name.key) + " takes " + std::string(sign) + ": " + Forms();
    }
    const auto value = ParseReal(rest.substr(sign.size()), separator);
    if (!value || !std::isfinite(static_cast<double>(*value)) || *value < 0) {
      return "the target's threshold must be a number of at least 0 (decimal separator '" +
             std::string(1, separator) + "')";
    }
    return Target{name.quantity, static_cast<double>(*value), TargetHolding::FromThenOn};
  }
  return "unknown target '" + std::string(text) + "': " + Forms();
}

std::string TargetText(const Target& target, char separator) {
  return std::string(NameOf(target.quantity).words) +
         (NeedsAtLeast(target.quantity) ? " ≥ " : " ≤ ") + FloatToStr(target.threshold, separator);
}

std::string_view HoldingText(TargetHolding holding) {
  return holding == TargetHolding::FromThenOn ? "держится до конца розыгрыша"
                                              : "достигнута впервые";
}

}  // namespace teravo
