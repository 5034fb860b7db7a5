#include "model/error_list.h"

#include <cmath>

namespace teravo {

TError* ScanErrors(const ErrorList& list, double halfWidth, double position) {
  const long double width = halfWidth;
  const long double at = position;
  for (const auto& error : list) {
    if (std::fabs(error->FPosition - at) <= width) return error.get();
  }
  return nullptr;
}

}  // namespace teravo
