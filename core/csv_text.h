#pragma once

#include <string>
#include <string_view>

namespace teravo {

// A table for spreadsheets: UTF-8 with a byte order mark, numbers with the given decimal
// separator, cells separated by a semicolon when that separator is a comma (by a comma
// otherwise), rows ended by CR LF. A cell holding the cell separator, a quote or a line break
// is quoted.
class CsvText {
 public:
  explicit CsvText(char decimalSeparator);

  CsvText& Cell(std::string_view value);
  // The shortest text that reads back to the same double; an empty cell for NaN and infinities.
  CsvText& Number(double value);
  // The general number format of FloatToStr.
  CsvText& Real(long double value);
  CsvText& EndRow();

  std::string Take() { return std::move(text_); }

 private:
  char decimal_;
  char separator_;
  std::string text_;
  bool rowStart_ = true;
};

}  // namespace teravo
