#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace teravo {

// The one exception type for every error that no operation handles itself. It carries the
// text the default error handler shows to the user; the program goes on afterwards.
class GeneralError : public std::runtime_error {
 public:
  explicit GeneralError(const std::string& text) : std::runtime_error(text) {}
};

// Texts of the general error report.
inline constexpr std::string_view kDivisionByZero = "Floating point division by zero";
inline constexpr std::string_view kOverflow = "Floating point overflow";
inline constexpr std::string_view kInvalidOperation = "Invalid floating point operation";
inline constexpr std::string_view kRangeCheck = "Range check error";
inline constexpr std::string_view kCannotFocus = "Cannot focus a disabled or invisible window";

// "'<text>' is not a valid integer value" and its floating point sibling.
std::string NotValidIntegerText(std::string_view text);
std::string NotValidFloatText(std::string_view text);

[[noreturn]] void Raise(std::string_view text);

}  // namespace teravo
