#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace teravo {

// Number texts are locale-independent: the decimal separator is always passed in.
// (QApplication switches the C locale, so strtod/printf must never be used here.)
// Blanks are spaces only: a tab, line break or other white space beside a number (pasted
// from a table, say) makes the text fail rather than being skipped.

// 32-bit signed integer: leading blanks skipped, optional sign, decimal or "$"/"0x" hex.
// Trailing characters, the empty text and out-of-range values do not parse.
std::optional<std::int32_t> ParseInt(std::string_view text);

// Real: blanks before and after skipped, optional sign, digits with at most one `separator`,
// optional exponent ("E-6", "e+3"). The other separator, group separators, "inf" and "nan"
// do not parse, nor does a value whose magnitude is too large for an extended-precision real
// (one below its normal range reads as a zero of the same sign).
// The result is exact to extended precision; callers that store a double round it.
std::optional<long double> ParseReal(std::string_view text, char separator);

// Same, throwing GeneralError with the "'%s' is not a valid ..." text when the text fails.
std::int32_t StrToInt(std::string_view text);
long double StrToFloat(std::string_view text, char separator);

// The shortest text that reads back to the same double, with "." ("0.1", "1e-05"); what the
// documents write for chart points.
std::string ShortestText(double value);

// Plain decimal integer.
std::string IntToStr(std::int64_t value);

// The general number format: at most 15 significant digits, trailing zeros dropped, the
// given separator; plain notation when the rounded magnitude is 0 or in [1E-4, 1E15),
// otherwise "d[,ddd]E[-]x" (5E-5, 1E15, 1,5E-5). Never "-0". NaN and infinities are
// not numbers the program shows: they raise the general error texts.
std::string FloatToStr(long double value, char separator);

}  // namespace teravo
