#include "tests/support/parameter_sets.h"

#include <memory>

#include "params/settings_edits.h"

namespace teravo::testing {

namespace {

void Set(TTeravo& m, const EditTexts& texts) {
  m.Parameters() = ParametersFromTexts(texts);
  m.FShowProgress = true;
}

}  // namespace

void SetDefaults(TTeravo& m) {
  Set(m, {});
}

void SetServerUp(TTeravo& m) {
  Set(m, {{edit::CoeffComplexity, "0.01"}});
}

void SetLarge(TTeravo& m) {
  Set(m, {{edit::ClientsNum, "1000"},
          {edit::ProgrammersNum, "10"},
          {edit::A, "0.000001"},
          {edit::ErrorsNum0, "1000"},
          {edit::CoeffComplexity, "0.01"}});
}

void PrepareDefaultPlay(TTeravo& m, std::int32_t iterations, std::uint32_t seed) {
  SetDefaults(m);
  m.FM = iterations;
  m.FPlayCount = 0;
  m.SetSeedSource(std::make_unique<FixedSeedSource>(seed));
}

}  // namespace teravo::testing
