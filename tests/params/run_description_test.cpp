#include "params/run_description.h"

#include <gtest/gtest.h>

#include "tests/support/fake_settings_form.h"
#include "params/acceptance.h"
#include "params/estimators.h"

namespace teravo::test {
namespace {

TEST(RunDescription, DefaultsReadExactly) {
  TTeravo model;
  FakeSettingsForm form;
  ASSERT_TRUE(AcceptParameters(model, form));
  EXPECT_EQ(GetParametersText(model, form.Text(edit::Time), ','),
            "Кол-во программ-клиентов: 100, Кол-во программистов: 3, Доля от общей области "
            "данных (ООД) в одном запросе клиента: 0,0001, Начальное кол-во ошибок: 100, "
            "Коэффициент сложности сервера: 2, Интенсивность потока обращений клиента к "
            "серверу: 100 (1/сутки), Интенсивность потока исправления ошибки: 0,5 (1/сутки), "
            "Вероятность внести ошибку при исправлении: 0, Шаг итерации: 0,001, Кол-во "
            "итераций: 10000, Общее время розыгрыша: 10 (сутки)");
}

TEST(RunDescription, BeforeAnyAcceptanceEverythingIsZero) {
  TTeravo model;
  EXPECT_EQ(GetParametersText(model, "", ','),
            "Кол-во программ-клиентов: 0, Кол-во программистов: 0, Доля от общей области "
            "данных (ООД) в одном запросе клиента: 0, Начальное кол-во ошибок: 0, "
            "Коэффициент сложности сервера: 0, Интенсивность потока обращений клиента к "
            "серверу: 0 (1/сутки), Интенсивность потока исправления ошибки: 0 (1/сутки), "
            "Интенсивность внесения ошибки при исправлении: 0 (1/сутки), Шаг итерации: 0, "
            "Кол-во итераций: 0, Общее время розыгрыша:  (сутки)");
}

TEST(RunDescription, ShowsTheCorrectedStepTheIntensityVariantAndTheDialogsTime) {
  TTeravo model;
  FakeSettingsForm form;
  form.Type(edit::Yk, "1010");
  rbIClick(form);
  ASSERT_TRUE(AcceptParameters(model, form));
  const std::string text = GetParametersText(model, "123", ',');
  EXPECT_NE(text.find(", Интенсивность внесения ошибки при исправлении: 0,01 (1/сутки), Шаг "
                      "итерации: 0,00099009900990099, Кол-во итераций: 10000, Общее время "
                      "розыгрыша: 123 (сутки)"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace teravo::test
