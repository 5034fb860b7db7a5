#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <system_error>

#include "core/general_error.h"

namespace teravo {
namespace {

// A blank is a space only: a tab or line break pasted around a number makes it no number.
bool IsBlank(char c) {
  return c == ' ';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TakeDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

// Decimal order of the leading significant digit of a non-zero number; only its sign is
// needed, to tell an underflow from an overflow, so the exponent saturates.
long long DecimalOrder(std::string_view integer, std::string_view fraction,
                       std::string_view exponent_digits, bool exponent_negative) {
  long long exponent = 0;
  for (char c : exponent_digits) {
    exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000'000LL);
  }
  if (exponent_negative) exponent = -exponent;
  const std::size_t lead = integer.find_first_not_of('0');
  if (lead != std::string_view::npos) {
    return exponent + static_cast<long long>(integer.size() - lead) - 1;
  }
  return exponent - static_cast<long long>(fraction.find_first_not_of('0')) - 1;
}

}  // namespace

std::optional<std::int32_t> ParseInt(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  std::string_view digits = text.substr(pos);
  int base = 10;
  if (digits.starts_with('$')) {
    base = 16;
    digits.remove_prefix(1);
  } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
    base = 16;
    digits.remove_prefix(2);
  }
  // Unsigned from_chars takes no sign of its own, so "$-1" and "--5" fail here.
  std::uint64_t magnitude = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, magnitude, base);
  if (ec != std::errc{} || ptr != end) return std::nullopt;
  if (magnitude > (negative ? 2147483648ULL : 2147483647ULL)) return std::nullopt;
  const auto value = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<long double> ParseReal(std::string_view text, char separator) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  std::size_t pos = 0;
  const auto at = [&](char c) { return pos < text.size() && text[pos] == c; };
  bool negative = false;
  if (at('+') || at('-')) negative = text[pos++] == '-';
  const std::string_view integer = TakeDigits(text, pos);
  std::string_view fraction;
  if (at(separator)) fraction = TakeDigits(text, ++pos);
  if (integer.empty() && fraction.empty()) return std::nullopt;
  std::string_view exponent;
  bool exponent_negative = false;
  if (at('E') || at('e')) {
    ++pos;
    if (at('+') || at('-')) exponent_negative = text[pos++] == '-';
    exponent = TakeDigits(text, pos);
    if (exponent.empty()) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;

  // from_chars reads neither '+' nor a locale separator; everything else it accepts beyond
  // this grammar ("inf", hex) was already refused above.
  std::string normal;
  if (negative) normal += '-';
  normal += integer.empty() ? std::string_view("0") : integer;
  if (!fraction.empty()) normal.append(".").append(fraction);
  if (!exponent.empty()) normal.append(exponent_negative ? "e-" : "e").append(exponent);

  long double value = 0;
  const char* end = normal.data() + normal.size();
  const auto [ptr, ec] = std::from_chars(normal.data(), end, value);
  if (ec == std::errc::result_out_of_range &&
      DecimalOrder(integer, fraction, exponent, exponent_negative) < 0) {
    // Below the normal extended range (about 3.4E-4932) the library reports no value; zero
    // is what any double that the caller stores would hold anyway.
    return negative ? -0.0L : 0.0L;
  }
  if (ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

std::int32_t StrToInt(std::string_view text) {
  const auto value = ParseInt(text);
  if (!value) Raise(NotValidIntegerText(text));
  return *value;
}

long double StrToFloat(std::string_view text, char separator) {
  const auto value = ParseReal(text, separator);
  if (!value) Raise(NotValidFloatText(text));
  return *value;
}

std::string IntToStr(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, std::end(buffer), value);
  return std::string(buffer, result.ptr);
}

std::string FloatToStr(long double value, char separator) {
  if (std::isnan(value)) Raise(kInvalidOperation);
  if (std::isinf(value)) Raise(kOverflow);
  // Rounding to 15 digits comes first: it decides the notation too (999999999999999.9 is 1E15).
  char buffer[64];
  const auto result =
      std::to_chars(buffer, std::end(buffer), value, std::chars_format::scientific, 14);
  std::string_view scientific(buffer, result.ptr - buffer);  // "-d.ddddddddddddddde+xx"
  const bool negative = scientific.front() == '-';
  if (negative) scientific.remove_prefix(1);
  const std::size_t e = scientific.find('e');
  std::string digits(1, scientific[0]);
  digits.append(scientific.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  if (digits == "0") return "0";  // also -0
  int exponent = 0;
  const std::size_t exponent_start = scientific[e + 1] == '+' ? e + 2 : e + 1;
  std::from_chars(scientific.data() + exponent_start, scientific.data() + scientific.size(),
                  exponent);

  std::string out = negative ? "-" : "";
  if (exponent < -4 || exponent >= 15) {
    out += digits[0];
    if (digits.size() > 1) out.append(1, separator).append(digits, 1);
    return out.append("E").append(IntToStr(exponent));
  }
  if (exponent < 0) {
    return out.append("0").append(1, separator).append(-exponent - 1, '0').append(digits);
  }
  const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integer_digits) {
    return out.append(digits).append(integer_digits - digits.size(), '0');
  }
  return out.append(digits, 0, integer_digits).append(1, separator).append(digits, integer_digits);
}

std::string ShortestText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace teravo
