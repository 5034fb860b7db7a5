#pragma once

#include <string_view>
#include <vector>

#include "reliability/failure_data.h"

namespace teravo {

// A file's cells before they mean anything: what the CSV and XLSX readers share.
struct TextTable {
  std::vector<DataRow> rows;   // non-blank rows, header included, faults empty
  bool decimal_comma = false;  // "3,5" may be a number (never with ',' between cells)
};

// Throw DataError when the bytes are no table at all.
TextTable SplitCsv(std::string_view bytes);
TextTable ReadXlsxSheet(std::string_view bytes);

// The checks and conversions both readers share. Strict: DataError at the first fault;
// otherwise each faulty row is marked and left out, and a whole-file fault goes to `fault`.
FailureData TableToFailureData(TextTable table, const ImportOptions& options, bool strict);

// The refusals that concern the whole file.
[[noreturn]] void RefuseTooLarge();
[[noreturn]] void RefuseTooManyRows();
[[noreturn]] void RefuseNotATable(std::string_view why);

}  // namespace teravo
