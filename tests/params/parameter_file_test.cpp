#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include "model/teravo.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/parameter_file.h"
#include "tests/support/fake_settings_form.h"

namespace teravo::test {
namespace {

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() / ("teravo-test-" + name);
}

TEST(ParameterFile, SaveLoadAcceptGivesTheSameModel) {
  FakeSettingsForm typed(',');
  typed.Type(edit::ClientsNum, "42");
  typed.Type(edit::A, "0,0002");
  typed.Type(edit::Y_newErr, "0,25");
  rbIClick(typed);
  const auto path = TempFile("round-trip.teravo.json");
  ASSERT_EQ(WriteParameterFile(path, ParameterFileOf(typed)), "");
  std::ifstream saved(path);
  const std::string text((std::istreambuf_iterator<char>(saved)), {});
  EXPECT_NE(text.find("\"edA\": \"0.0002\""), std::string::npos) << "stored with a dot";

  const auto read = ReadParameterFile(path);
  ASSERT_TRUE(std::holds_alternative<ParameterFile>(read)) << std::get<std::string>(read);
  FakeSettingsForm loaded(',');
  LoadIntoForm(std::get<ParameterFile>(read), loaded);
  EXPECT_EQ(loaded.Text(edit::A), "0,0002");
  EXPECT_FALSE(loaded.IsProbabilityChecked());
  EXPECT_TRUE(loaded.IsEnabled(edit::Y_newErr));
  EXPECT_FALSE(loaded.IsEnabled(edit::P_newErr));

  TTeravo fromTyped;
  TTeravo fromFile;
  ASSERT_TRUE(AcceptParameters(fromTyped, typed));
  ASSERT_TRUE(AcceptParameters(fromFile, loaded));
  EXPECT_EQ(fromFile.Parameters(), fromTyped.Parameters());
  std::filesystem::remove(path);
}

TEST(ParameterFile, HostileDocumentsAreRefusedWithTheirFirstProblem) {
  const std::string valid = ParameterFileText(ParameterFileOf(FakeSettingsForm('.')));
  std::string missing = valid;
  missing.erase(missing.find(",\n    \"edK\""));
  missing += "\n}}";
  std::string wrongType = valid;
  wrongType.replace(wrongType.find("\"10000\""), 7, "10000");
  struct Case {
    std::string document;
    const char* problem;
  };
  const Case cases[] = {
      {"not json at all", "это не документ JSON"},
      {"[1, 2]", "документ должен быть объектом JSON"},
      {R"({"format": "other"})", "это не файл параметров"},
      {R"({"format": "teravo-parameters", "version": 7})", "версия 7 не поддерживается"},
      {missing, "нет поля edK"},
      {wrongType, "значение поля edM должно быть строкой"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseParameterFile(c.document);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.problem;
    EXPECT_NE(std::get<std::string>(parsed).find(c.problem), std::string::npos)
        << std::get<std::string>(parsed);
  }

  const auto huge = TempFile("huge.teravo.json");
  std::ofstream(huge) << std::string(kMaxParameterFileBytes + 1, ' ');
  const auto refused = ReadParameterFile(huge);
  ASSERT_TRUE(std::holds_alternative<std::string>(refused));
  EXPECT_NE(std::get<std::string>(refused).find(huge.string()), std::string::npos);
  EXPECT_NE(std::get<std::string>(refused).find("больше 1 МБ"), std::string::npos);
  std::filesystem::remove(huge);
}

}  // namespace
}  // namespace teravo::test
