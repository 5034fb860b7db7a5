#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/number_text.h"
#include "reliability/text_table.h"

namespace teravo {
namespace {

enum class Column { FailureTime, Interval, IntervalEnd, Count };

// Recognised header names, lower case. Russian names let a team keep its own headers.
constexpr std::array<std::pair<std::string_view, Column>, 12> kColumnNames = {{
    {"ft", Column::FailureTime},
    {"время отказа", Column::FailureTime},
    {"время", Column::FailureTime},
    {"if", Column::Interval},
    {"интервал", Column::Interval},
    {"интервал между отказами", Column::Interval},
    {"время между отказами", Column::Interval},
    {"t", Column::IntervalEnd},
    {"конец интервала", Column::IntervalEnd},
    {"fc", Column::Count},
    {"отказы", Column::Count},
    {"число отказов", Column::Count},
}};

std::string_view ColumnTitle(Column column) {
  switch (column) {
    case Column::FailureTime:
      return "FT";
    case Column::Interval:
      return "IF";
    case Column::IntervalEnd:
      return "T";
    case Column::Count:
      return "FC";
  }
  return "";
}

// ASCII and Cyrillic capitals to lower case (UTF-8); everything else stays.
std::string LowerCase(std::string_view text) {
  std::string lower;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 'A' && byte <= 'Z') {
      lower += static_cast<char>(byte - 'A' + 'a');
    } else if (byte == 0xD0 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[++i]);
      if (next >= 0x90 && next <= 0x9F) {  // А..П
        lower += "\xD0";
        lower += static_cast<char>(next + 0x20);
      } else if (next >= 0xA0 && next <= 0xAF) {  // Р..Я
        lower += "\xD1";
        lower += static_cast<char>(next - 0x20);
      } else if (next == 0x81) {  // Ё
        lower += "\xD1\x91";
      } else {
        lower += "\xD0";
        lower += static_cast<char>(next);
      }
    } else {
      lower += static_cast<char>(byte);
    }
  }
  return lower;
}

std::optional<Column> RecogniseColumn(std::string_view name) {
  const std::string lower = LowerCase(name);
  for (const auto& [known, column] : kColumnNames) {
    if (lower == known) return column;
  }
  return std::nullopt;
}

std::optional<double> ParseNumber(std::string_view cell, bool decimal_comma) {
  auto value = ParseReal(cell, '.');
  if (!value && decimal_comma) value = ParseReal(cell, ',');
  if (!value) return std::nullopt;
  return static_cast<double>(*value);
}

bool IsHeader(const DataRow& row, bool decimal_comma) {
  for (const auto& cell : row.cells) {
    if (!cell.empty() && !ParseNumber(cell, decimal_comma)) return true;
  }
  return false;
}

std::string Line(int line) {
  return "Строка " + IntToStr(line) + ": ";
}
std::string Quoted(std::string_view cell) {
  return "«" + std::string(cell) + "»";
}

std::string ColumnName(std::size_t index) {
  return "столбец " + IntToStr(index + 1);
}

// Where the needed columns are, and which others are ignored.
struct ColumnPlan {
  DataLayout layout = DataLayout::FailureTimes;
  std::vector<std::pair<Column, std::size_t>> used;  // FT; IF; or T then FC
  std::vector<std::string> ignored;
};

std::vector<Column> NeededColumns(DataLayout layout) {
  switch (layout) {
    case DataLayout::FailureTimes:
      return {Column::FailureTime};
    case DataLayout::Intervals:
      return {Column::Interval};
    case DataLayout::Counts:
      return {Column::IntervalEnd, Column::Count};
  }
  return {};
}

ColumnPlan PlanColumns(const std::vector<std::string>& header, std::size_t width,
                       std::optional<DataLayout> layout) {
  std::vector<std::optional<Column>> recognised;
  for (const auto& name : header) recognised.push_back(RecogniseColumn(name));
  const auto has = [&](Column column) {
    for (const auto& r : recognised) {
      if (r == column) return true;
    }
    return false;
  };
  const bool any_recognised = has(Column::FailureTime) || has(Column::Interval) ||
                              has(Column::IntervalEnd) || has(Column::Count);
  ColumnPlan plan;
  if (layout) {
    plan.layout = *layout;
  } else if (has(Column::FailureTime)) {
    plan.layout = DataLayout::FailureTimes;
  } else if (has(Column::Interval)) {
    plan.layout = DataLayout::Intervals;
  } else if (has(Column::IntervalEnd) && has(Column::Count)) {
    plan.layout = DataLayout::Counts;
  } else if (header.empty() && width == 1) {
    plan.layout = DataLayout::FailureTimes;
  } else if (header.empty()) {
    throw DataError(
        "В файле нет заголовка и несколько столбцов: укажите вид данных (FT, IF или FC).");
  } else {
    throw DataError(
        "В заголовке нет столбцов FT, IF или T и FC: назовите столбцы или укажите вид данных.");
  }

  const auto needed = NeededColumns(plan.layout);
  if (any_recognised) {
    // Named columns: each needed one must be there.
    for (const Column column : needed) {
      std::size_t index = 0;
      while (index < recognised.size() && recognised[index] != column) ++index;
      if (index == recognised.size()) {
        throw DataError("В заголовке нет столбца " + std::string(ColumnTitle(column)) + ".");
      }
      plan.used.emplace_back(column, index);
    }
  } else {
    // No header, or one the layout given overrides: the needed columns come first.
    for (std::size_t i = 0; i < needed.size(); ++i) plan.used.emplace_back(needed[i], i);
  }
  for (std::size_t i = 0; i < std::max(width, header.size()); ++i) {
    bool used = false;
    for (const auto& [column, index] : plan.used) used = used || index == i;
    if (used) continue;
    plan.ignored.push_back(i < header.size() && !header[i].empty() ? header[i] : ColumnName(i));
  }
  return plan;
}

// Reads rows in turn; the previous good row is what order checks compare with.
class RowReader {
 public:
  RowReader(FailureData& data, bool decimal_comma)
      : data_(data), decimal_comma_(decimal_comma), days_per_unit_(DaysPerUnit(data.unit)) {}

  // The fault text, or empty when the row was taken.
  std::string Read(const DataRow& row, const ColumnPlan& plan) {
    std::array<double, 2> values{};
    for (std::size_t k = 0; k < plan.used.size(); ++k) {
      const auto [column, index] = plan.used[k];
      const std::string cell = index < row.cells.size() ? row.cells[index] : std::string();
      if (cell.empty()) {
        return Line(row.line) + "пустая ячейка в столбце " + std::string(ColumnTitle(column)) + ".";
      }
      const auto value = ParseNumber(cell, decimal_comma_);
      if (!value) return Line(row.line) + Quoted(cell) + " — не число.";
      if (*value < 0) return Line(row.line) + Quoted(cell) + " — отрицательное число.";
      if (column == Column::Count) {
        if (*value != std::floor(*value)) {
          return Line(row.line) + Quoted(cell) + " — число отказов не целое.";
        }
        if (*value > kMaxCount) return Line(row.line) + Quoted(cell) + " — слишком большое число.";
        values[k] = *value;
      } else {
        values[k] = *value * days_per_unit_;
        if (!std::isfinite(values[k])) {
          return Line(row.line) + Quoted(cell) + " — слишком большое число.";
        }
      }
    }
    switch (plan.layout) {
      case DataLayout::FailureTimes:
        return TakeTime(row.line, values[0]);
      case DataLayout::Intervals:
        return TakeTime(row.line, last_value_ + values[0]);
      case DataLayout::Counts:
        return TakeCount(row.line, values[0], values[1]);
    }
    return {};
  }

 private:
  static constexpr double kMaxCount = 1e12;

  std::string TakeTime(int line, double time) {
    if (!std::isfinite(time)) return Line(line) + "сумма интервалов слишком велика.";
    if (time == 0) return Line(line) + "отказ в момент 0: время отказа должно быть больше нуля.";
    if (time < last_value_) {
      return Line(line) + "время меньше, чем в строке " + IntToStr(last_line_) + ".";
    }
    data_.times.push_back(time);
    Take(line, time);
    return {};
  }

  std::string TakeCount(int line, double end, double count) {
    if (end == 0) return Line(line) + "конец интервала должен быть больше нуля.";
    if (end <= last_value_) {
      return Line(line) + "конец интервала не больше, чем в строке " + IntToStr(last_line_) + ".";
    }
    data_.interval_ends.push_back(end);
    data_.counts.push_back(static_cast<std::int64_t>(count));
    Take(line, end);
    return {};
  }

  void Take(int line, double value) {
    data_.source_lines.push_back(line);
    last_value_ = value;
    last_line_ = line;
  }

  FailureData& data_;
  bool decimal_comma_;
  double days_per_unit_;
  double last_value_ = 0;
  int last_line_ = 0;
};

}  // namespace

void RefuseTooLarge() {
  throw DataError("Файл больше 50 МБ: такой файл не читается.");
}

void RefuseTooManyRows() {
  throw DataError("В файле больше 1 000 000 строк: такой файл не читается.");
}

void RefuseNotATable(std::string_view why) {
  throw DataError("Файл не похож на таблицу: " + std::string(why) + ".");
}

FailureData TableToFailureData(TextTable table, const ImportOptions& options, bool strict) {
  FailureData data;
  data.unit = options.unit;
  const auto fail = [&](std::string text) {
    if (strict) throw DataError(text);
    if (data.fault.empty()) data.fault = std::move(text);
  };
  if (table.rows.empty()) {
    fail("Файл пуст: в нём нет ни одной строки.");
    return data;
  }
  std::vector<std::string> header;
  if (IsHeader(table.rows.front(), table.decimal_comma)) {
    header = std::move(table.rows.front().cells);
    table.rows.erase(table.rows.begin());
    data.has_header = true;
  }
  if (static_cast<int>(table.rows.size()) > kMaxRows) RefuseTooManyRows();
  const std::size_t width = table.rows.empty() ? 0 : table.rows.front().cells.size();
  const ColumnPlan plan = PlanColumns(header, width, options.layout);
  data.layout = plan.layout;
  data.ignored_columns = plan.ignored;

  RowReader reader(data, table.decimal_comma);
  for (auto& row : table.rows) {
    row.fault = reader.Read(row, plan);
    if (!row.fault.empty()) fail(row.fault);
  }
  data.rows = std::move(table.rows);
  if (data.rows.empty()) {
    fail("В файле нет данных: после заголовка нет ни одной строки.");
  } else if (data.FailureCount() < kMinFailures) {
    fail("В файле меньше 5 отказов: для оценки нужно не меньше 5.");
  }
  return data;
}

}  // namespace teravo
