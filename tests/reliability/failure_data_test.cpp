#include "reliability/failure_data.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <string>
#include <vector>

namespace teravo {
namespace {

struct ReadCase {
  std::string name;
  std::string text;
  ImportOptions options;
  DataLayout layout;
  std::vector<double> values;  // times, or interval ends
  std::vector<std::int64_t> counts;
  std::vector<std::string> ignored;
};

class CsvRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CsvRead, ConvertsTheTable) {
  const ReadCase& c = GetParam();
  const FailureData data = ReadFailureCsv(c.text, c.options);
  EXPECT_EQ(data.layout, c.layout);
  EXPECT_EQ(data.IsCounts() ? data.interval_ends : data.times, c.values);
  EXPECT_EQ(data.counts, c.counts);
  EXPECT_EQ(data.ignored_columns, c.ignored);
}

const ImportOptions kDays{std::nullopt, TimeUnit::Days};

INSTANTIATE_TEST_SUITE_P(Forms, CsvRead,
                         ::testing::Values(ReadCase{"HeaderlessWithBomAndCrLf",
                                                    "\xEF\xBB\xBF"
                                                    "1\r\n2\r\n\r\n2\r\n4\r\n8\r\n",
                                                    kDays,
                                                    DataLayout::FailureTimes,
                                                    {1, 2, 2, 4, 8},
                                                    {},
                                                    {}},
                                           ReadCase{"IntervalsDecimalCommaOtherColumns",
                                                    "Дата;IF;Комментарий\nпн;1,5;a\nвт;0;\n"
                                                    "ср;2.5;c\nчт;1;\nпт;3;\n",
                                                    kDays,
                                                    DataLayout::Intervals,
                                                    {1.5, 1.5, 4, 5, 8},
                                                    {},
                                                    {"Дата", "Комментарий"}},
                                           ReadCase{"CountsCommaSeparatedQuoted",
                                                    "\"T\",fc\n0.5,2\n1,0\n\"1.5\",4\n",
                                                    kDays,
                                                    DataLayout::Counts,
                                                    {0.5, 1, 1.5},
                                                    {2, 0, 4},
                                                    {}},
                                           ReadCase{"RussianHeaderHours",
                                                    "Время отказа\n24\n36\n48\n60\n72\n",
                                                    {std::nullopt, TimeUnit::Hours},
                                                    DataLayout::FailureTimes,
                                                    {1, 1.5, 2, 2.5, 3},
                                                    {},
                                                    {}},
                                           ReadCase{"LayoutGivenHeaderless",
                                                    "7\t3\n14\t2\n",
                                                    {DataLayout::Counts, TimeUnit::Weeks},
                                                    DataLayout::Counts,
                                                    {49, 98},
                                                    {3, 2},
                                                    {}}),
                         [](const auto& info) { return info.param.name; });

struct RefusalCase {
  std::string text;
  ImportOptions options;
  std::string message;
};

class CsvRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CsvRefusal, NamesTheLineAndTheFault) {
  const RefusalCase& c = GetParam();
  try {
    ReadFailureCsv(c.text, c.options);
    FAIL() << "accepted";
  } catch (const DataError& error) {
    EXPECT_EQ(error.what(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CsvRefusal,
    ::testing::Values(
        RefusalCase{"FT\n1\n2\nabc\n4\n5\n6\n", kDays, "Строка 4: «abc» — не число."},
        RefusalCase{"FT\n1\n-2\n", kDays, "Строка 3: «-2» — отрицательное число."},
        RefusalCase{"1\n2\n\n5\n4\n", kDays, "Строка 5: время меньше, чем в строке 4."},
        RefusalCase{"0\n1\n", kDays,
                    "Строка 1: отказ в момент 0: время отказа должно быть больше нуля."},
        RefusalCase{"T;FC\n1;2\n2;2,5\n", kDays, "Строка 3: «2,5» — число отказов не целое."},
        RefusalCase{"T;FC\n1;2\n1;3\n", kDays,
                    "Строка 3: конец интервала не больше, чем в строке 2."},
        RefusalCase{"T;FC\n1;\n", kDays, "Строка 2: пустая ячейка в столбце FC."},
        RefusalCase{"1e999\n", kDays, "Строка 1: «1e999» — слишком большое число."},
        RefusalCase{"FT\n1e99999\n", kDays, "Строка 2: «1e99999» — не число."},
        RefusalCase{"1e308\n",
                    {std::nullopt, TimeUnit::Weeks},
                    "Строка 1: «1e308» — слишком большое число."},
        RefusalCase{"", kDays, "Файл пуст: в нём нет ни одной строки."},
        RefusalCase{"FT\n", kDays, "В файле нет данных: после заголовка нет ни одной строки."},
        RefusalCase{"1\n2\n3\n4\n", kDays,
                    "В файле меньше 5 отказов: для оценки нужно не меньше 5."},
        RefusalCase{"T;FC\n1;2\n2;2\n", kDays,
                    "В файле меньше 5 отказов: для оценки нужно не меньше 5."},
        RefusalCase{std::string("PK\x03\x04\0\0", 6), kDays,
                    "Файл не похож на таблицу: в нём двоичные данные."},
        RefusalCase{"FT\n\xC0\xAF\n", kDays,
                    "Файл не похож на таблицу: текст не в кодировке UTF-8."},
        RefusalCase{"1;2\n3;4\n", kDays,
                    "В файле нет заголовка и несколько столбцов: укажите "
                    "вид данных (FT, IF или FC)."},
        RefusalCase{"Дата;Имя\n1;2\n", kDays,
                    "В заголовке нет столбцов FT, IF или T и FC: "
                    "назовите столбцы или укажите вид данных."},
        RefusalCase{
            "FT;X\n1;2\n", {DataLayout::Counts, TimeUnit::Days}, "В заголовке нет столбца T."}));

TEST(CsvLimits, RefuseTooManyRowsAndTooManyBytes) {
  std::string rows;
  for (int i = 0; i <= kMaxRows; ++i) rows += "1\n";
  EXPECT_THROW(ReadFailureCsv(rows, kDays), DataError);
  EXPECT_NO_THROW(ReadFailureCsv(rows.substr(2), kDays));
  EXPECT_THROW(ReadFailureCsv(std::string(kMaxFileBytes + 1, '1'), kDays), DataError);
}

TEST(CsvPreview, MarksEveryFaultyRowAndKeepsTheGoodOnes) {
  const FailureData data = PreviewFailureCsv("FT\n1\nx\n3\n2\n4\n5\n6\n", kDays);
  ASSERT_EQ(data.rows.size(), 7u);
  EXPECT_EQ(data.rows[1].fault, "Строка 3: «x» — не число.");
  EXPECT_EQ(data.rows[3].fault, "Строка 5: время меньше, чем в строке 4.");
  EXPECT_EQ(data.rows[2].cells, std::vector<std::string>{"3"});
  EXPECT_EQ(data.times, (std::vector<double>{1, 3, 4, 5, 6}));
  EXPECT_EQ(data.source_lines, (std::vector<int>{2, 4, 6, 7, 8}));
  EXPECT_EQ(data.fault, data.rows[1].fault);  // what the strict reader refuses with
}

// A workbook of the smallest form spreadsheet programs write: shared and inline strings.
std::filesystem::path WriteWorkbook(const std::vector<std::pair<std::string, std::string>>& parts) {
  // A file of each test's own: the tests run side by side in processes of their own.
  const auto path = std::filesystem::temp_directory_path() /
                    (std::string("teravo_") +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".xlsx");
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (zip == nullptr) {
    ADD_FAILURE() << "cannot write " << path << ": libzip error " << error;
    return path;
  }
  for (const auto& [name, text] : parts) {
    zip_source_t* source = zip_source_buffer(zip, text.data(), text.size(), 0);
    zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE);
  }
  zip_close(zip);
  return path;
}

TEST(XlsxRead, ReadsTheFirstSheetWithSharedAndInlineStrings) {
  std::string rows = R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="C1" t="inlineStr">)"
                     R"(<is><t>FC</t></is></c><c r="D1" t="s"><v>1</v></c></row>)";
  for (int i = 1; i <= 5; ++i) {
    const std::string r = std::to_string(i + 2);  // row 2 left empty
    rows += "<row r=\"" + r + "\"><c r=\"A" + r + "\"><v>" + std::to_string(i * 0.5) +
            "</v></c><c r=\"C" + r + "\"><v>" + std::to_string(i) + "</v></c></row>";
  }
  const std::vector<std::pair<std::string, std::string>> parts = {
      {"xl/workbook.xml", R"(<workbook xmlns:r="x"><sheets><sheet name="Отказы" sheetId="7" )"
                          R"(r:id="rId3"/></sheets></workbook>)"},
      {"xl/_rels/workbook.xml.rels", R"(<Relationships><Relationship Id="rId3" )"
                                     R"(Target="worksheets/data.xml"/></Relationships>)"},
      {"xl/sharedStrings.xml", R"(<sst><si><t>T</t></si><si><r><t>При</t></r><r><t>мечание)"
                               R"(</t></r><rPh><t>x</t></rPh></si></sst>)"},
      {"xl/worksheets/data.xml", "<worksheet><sheetData>" + rows + "</sheetData></worksheet>"}};
  const auto path = WriteWorkbook(parts);
  const FailureData data = ReadFailureFile(path, {std::nullopt, TimeUnit::Days});
  EXPECT_EQ(data.layout, DataLayout::Counts);
  EXPECT_EQ(data.interval_ends, (std::vector<double>{0.5, 1, 1.5, 2, 2.5}));
  EXPECT_EQ(data.counts, (std::vector<std::int64_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(data.source_lines, (std::vector<int>{3, 4, 5, 6, 7}));
  EXPECT_EQ(data.ignored_columns, (std::vector<std::string>{"столбец 2", "Примечание"}));
  std::filesystem::remove(path);
}

TEST(XlsxRead, RefusesWhatIsNoWorkbook) {
  EXPECT_THROW(ReadFailureXlsx("PK not a zip", kDays), DataError);
  const auto path = WriteWorkbook({{"xl/worksheets/sheet1.xml", "<worksheet><sheetData>"}});
  EXPECT_THROW(ReadFailureFile(path, kDays), DataError);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace teravo
