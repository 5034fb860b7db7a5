#include "core/csv_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/number_text.h"

namespace teravo {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

CsvText::CsvText(char decimalSeparator)
    : decimal_(decimalSeparator), separator_(decimalSeparator == ',' ? ';' : ',') {
  text_ = kByteOrderMark;
}

CsvText& CsvText::Cell(std::string_view value) {
  if (!rowStart_) text_ += separator_;
  rowStart_ = false;
  const bool quote =
      value.find_first_of(std::string{separator_, '"', '\n', '\r'}) != std::string_view::npos;
  if (!quote) {
    text_ += value;
    return *this;
  }
  text_ += '"';
  for (char c : value) {
    if (c == '"') text_ += '"';
    text_ += c;
  }
  text_ += '"';
  return *this;
}

CsvText& CsvText::Number(double value) {
  if (!std::isfinite(value)) return Cell("");
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::string text(buffer, end);
  std::replace(text.begin(), text.end(), '.', decimal_);
  return Cell(text);
}

CsvText& CsvText::Real(long double value) {
  return Cell(FloatToStr(value, decimal_));
}

CsvText& CsvText::EndRow() {
  text_ += "\r\n";
  rowStart_ = true;
  return *this;
}

}  // namespace teravo
