#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>

#include "model/teravo.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "params/parameter_file.h"
#include "tests/support/fake_settings_form.h"
#include "tests/support/scratch_folder.h"

namespace teravo::test {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

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
      {Replaced(valid, "\"edA\": \"0.0001\"", "\"edA\": \"0,0001\""),
       "в поле edA запятая: числа в файле пишутся с точкой"},
      {Replaced(valid, "\"edM\": \"10000\"", "\"edM\": \"10000\", \"edM\": \"20\""),
       "ключ \"edM\" записан дважды"},
      {Replaced(valid, "\"version\"", "\"format\": \"teravo-parameters\", \"version\""),
       "ключ \"format\" записан дважды"},
      {Replaced(valid, "\"edK\": \"", "\"edK\": \"\xff\xfe"), "текст не в кодировке UTF-8"},
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

// What is not a file to read is told as what it is, not as missing.
TEST(ParameterFile, ReadingTellsWhatThePathIs) {
  const ScratchFolder folder;
  mkfifo((folder / "pipe").c_str(), 0644);
  const std::pair<std::filesystem::path, const char*> cases[] = {
      {folder / "missing.teravo.json", "файл не найден."},
      {folder.Path(), "это папка."},
      {folder / "pipe", "это не обычный файл"},
      {"/dev/zero", "это не обычный файл"},
  };
  for (const auto& [path, says] : cases) {
    const auto read = ReadParameterFile(path);
    ASSERT_TRUE(std::holds_alternative<std::string>(read)) << path;
    EXPECT_NE(std::get<std::string>(read).find(says), std::string::npos)
        << std::get<std::string>(read);
  }
}

TEST(ParameterFile, WritingRefusesATextThatIsNotUtf8NamingItsEdit) {
  const ScratchFolder folder;
  FakeSettingsForm form('.');
  form.Type(edit::Y0, "\xff\xfe");
  const std::string error = WriteParameterFile(folder / "u.json", ParameterFileOf(form));
  EXPECT_NE(error.find("текст поля edY0 не в кодировке UTF-8"), std::string::npos) << error;
  EXPECT_TRUE(folder.Names().empty()) << "no piece of the file is left";
}

}  // namespace
}  // namespace teravo::test
