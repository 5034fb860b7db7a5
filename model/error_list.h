#pragma once

#include <memory>
#include <vector>

namespace teravo {

// An error (defect) at a point of the common data area [0, 1). Whether it lies in a client
// or in the server follows from the list that holds it. An error never moves: the model's
// search by position relies on it.
class TError {
 public:
  explicit TError(double position) : FPosition(position) {}
  double GetPosition() const { return FPosition; }

  const double FPosition = 0;
};

// Owning, in the order the errors came in: a search by position answers with the first.
using ErrorList = std::vector<std::unique_ptr<TError>>;

// First error of `list`, in list order, with |position of the error - position| <= halfWidth
// in extended precision, or nullptr: the plain scan every faster search must agree with.
TError* ScanErrors(const ErrorList& list, double halfWidth, double position);

}  // namespace teravo
