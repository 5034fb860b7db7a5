#include <string>
#include <string_view>

#include "reliability/text_table.h"

namespace teravo {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Control bytes other than tab and line breaks, and broken UTF-8, mean the file is not text.
void CheckText(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n') {
      RefuseNotATable("в нём двоичные данные");
    }
    int follow = -1;
    if (byte < 0x80) {
      follow = 0;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
      follow = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
      follow = 2;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
      follow = 3;
    }
    if (follow < 0 || i + follow >= bytes.size()) RefuseNotATable("текст не в кодировке UTF-8");
    for (int k = 1; k <= follow; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
        RefuseNotATable("текст не в кодировке UTF-8");
      }
    }
    i += 1 + follow;
  }
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// One line into cells; a cell in double quotes may hold the separator and "" for a quote.
std::vector<std::string> SplitLine(std::string_view line, char separator) {
  std::vector<std::string> cells;
  std::string cell;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        cell += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        cell += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"' && Trim(cell).empty()) {
      cell.clear();
      quoted = true;
    } else if (c == separator) {
      cells.emplace_back(Trim(cell));
      cell.clear();
    } else {
      cell += c;
    }
  }
  cells.emplace_back(quoted ? cell : std::string(Trim(cell)));
  return cells;
}

// ';' or a tab between cells leaves the comma to decimals. The first line decides: a
// one-column header has no separator, and then a comma in the data is a decimal comma.
char DetectSeparator(std::string_view first_line) {
  if (first_line.find(';') != std::string_view::npos) return ';';
  if (first_line.find('\t') != std::string_view::npos) return '\t';
  if (first_line.find(',') != std::string_view::npos) return ',';
  return '\0';
}

}  // namespace

TextTable SplitCsv(std::string_view bytes) {
  if (static_cast<std::int64_t>(bytes.size()) > kMaxFileBytes) RefuseTooLarge();
  if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
  CheckText(bytes);

  TextTable table;
  char separator = '\0';
  bool separator_known = false;
  int line_number = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (Trim(line).empty()) continue;
    if (!separator_known) {
      separator = DetectSeparator(line);
      separator_known = true;
    }
    if (static_cast<int>(table.rows.size()) > kMaxRows) RefuseTooManyRows();
    table.rows.push_back({line_number,
                          separator == '\0' ? std::vector<std::string>{std::string(Trim(line))}
                                            : SplitLine(line, separator),
                          {}});
  }
  table.decimal_comma = separator != ',';
  return table;
}

}  // namespace teravo
