#include "params/settings_form.h"

namespace teravo {

std::vector<EditDefault> DefaultEdits(char separator) {
  // The dialog's defaults are written with the separator of the locale it runs in, so they
  // always parse there.
  auto real = [separator](const char* whole, const char* fraction) {
    return std::string(whole) + separator + fraction;
  };
  return {
      {edit::ClientsNum, "100", true},
      {edit::ProgrammersNum, "3", true},
      {edit::A, real("0", "0001"), true},
      {edit::ErrorsNum0, "100", true},
      {edit::Y0, "10", true},
      {edit::E_aver, "", false},
      {edit::OptimT, "", false},
      {edit::CoeffComplexity, "2", true},
      {edit::Yk, "100", true},
      {edit::Mu, real("0", "5"), true},
      {edit::P_newErr, "0", true},
      {edit::Y_newErr, real("0", "01"), false},
      {edit::DT, real("0", "001"), true},
      {edit::M, "10000", true},
      {edit::Time, "", false},
      {edit::K, "10", true},
  };
}

}  // namespace teravo
