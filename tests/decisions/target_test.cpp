#include "decisions/target.h"

#include <gtest/gtest.h>

#include <optional>

namespace teravo {
namespace {

struct TargetText {
  const char* text;
  std::optional<Target> target;
};

TEST(Target, ReadFromTheRunnersText) {
  const TargetText cases[] = {
      {"Kg>=0.95", Target{TargetQuantity::Availability, 0.95}},
      {"intensity<=0.5", Target{TargetQuantity::FailureIntensity, 0.5}},
      {"client_errors<=3", Target{TargetQuantity::ClientErrors, 3}},
      {"working>=95", Target{TargetQuantity::WorkingClients, 95}},
      {"failures>=40", Target{TargetQuantity::Failures, 40}},
      {"Kg<=0.95", std::nullopt},
      {"Kg>=", std::nullopt},
      {"Kg>=-1", std::nullopt},
      {"Kg>=0,95", std::nullopt},
      {"speed>=3", std::nullopt},
  };
  for (const TargetText& c : cases) {
    const auto read = ParseTarget(c.text, '.');
    ASSERT_EQ(std::holds_alternative<Target>(read), c.target.has_value()) << c.text;
    if (!c.target) continue;
    const Target& target = std::get<Target>(read);
    EXPECT_EQ(target.quantity, c.target->quantity) << c.text;
    EXPECT_EQ(target.threshold, c.target->threshold) << c.text;
    EXPECT_EQ(target.holding, TargetHolding::FromThenOn) << c.text;
  }
}

}  // namespace
}  // namespace teravo
