#include "core/general_error.h"

namespace teravo {

std::string NotValidIntegerText(std::string_view text) {
  return std::string("'").append(text).append("' is not a valid integer value");
}

std::string NotValidFloatText(std::string_view text) {
  return std::string("'").append(text).append("' is not a valid floating point value");
}

void Raise(std::string_view text) {
  throw GeneralError(std::string(text));
}

}  // namespace teravo
