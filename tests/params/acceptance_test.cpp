#include "params/acceptance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/fake_settings_form.h"
#include "tests/support/messages.h"

namespace teravo::test {
namespace {

using Log = std::vector<std::string>;

std::string Message(std::string_view text) {
  return "message " + std::string(text);
}
std::string FocusOn(std::string_view edit) {
  return "focus " + std::string(edit);
}

TEST(Acceptance, DefaultsAreAcceptedSilently) {
  TTeravo model;
  FakeSettingsForm form;
  EXPECT_TRUE(AcceptParameters(model, form));
  EXPECT_EQ(form.log, Log{"text edTime=10"});
  // In field order; the intensity of new errors is not read while they go by probability.
  const TParameters accepted{100, 3, 0.0001, 100, 2, 100, 0.5, 0.001, 0, 0, true, 10000, 10};
  EXPECT_EQ(model.Parameters(), accepted);
  EXPECT_TRUE(model.FShowProgress);
}

TEST(Acceptance, DefaultsParseUnderAFullStopLocaleToo) {
  TTeravo model;
  FakeSettingsForm form('.');
  EXPECT_EQ(form.Text(edit::A), "0.0001");
  EXPECT_TRUE(AcceptParameters(model, form));
  EXPECT_EQ(model.FA, 0.0001);
  EXPECT_EQ(form.Text(edit::Time), "10");
}

TEST(Acceptance, AcceptAndCloseClosesWhateverTheResult) {
  TTeravo model;
  FakeSettingsForm form;
  form.Type(edit::K, "x");
  AcceptAndClose(model, form);
  EXPECT_EQ(form.log, (Log{Message(msg::K), FocusOn(edit::K), "close"}));
  EXPECT_EQ(form.Text(edit::K), "x");
}

// Every field in reading order, so a failure can be checked against the fields before it
// (new values) and after it (untouched).
struct FieldCase {
  std::string_view edit;
  std::string_view message;
  std::vector<std::string> badTexts;
};

const std::vector<FieldCase>& Fields() {
  static const std::vector<FieldCase> fields = {
      {edit::ClientsNum, msg::ClientsNum, {"abc", "", "0", "-5", "1,5"}},
      {edit::ProgrammersNum, msg::ProgrammersNum, {"abc", "", "0", "2147483648"}},
      {edit::A, msg::A, {"abc", "", "1", "0", "0.5", "-0,1"}},
      {edit::ErrorsNum0, msg::ErrorsNum0, {"abc", "", "0", "-1"}},
      {edit::CoeffComplexity, msg::CoeffComplexity, {"abc", "", "0", "-2", "2.5"}},
      {edit::Yk, msg::Yk, {"abc", "", "0", "1.5"}},
      {edit::Mu, msg::Mu, {"abc", "", "-0,5", "0.5"}},
      {edit::P_newErr, msg::P_newErr, {"abc", "", "1", "-0,1", "0.5"}},
      {edit::DT, msg::DT, {"abc", "", "0", "0.001"}},
      {edit::M, msg::M, {"abc", "", "0", "1e3"}},
      {edit::K, msg::K, {"abc", "", "0", "-10"}},
  };
  return fields;
}

// Marks every parameter with a value no acceptance of the defaults would store.
void MarkParameters(TTeravo& m) {
  m.FClientsNum = m.FProgrammersNum = m.FErrorsNum0 = m.FM = m.FK = -7;
  m.FA = m.FCoeffComplexity = m.FYk = m.FMu = m.FDT = m.FP_newErr = m.FY_newErr = -7;
  m.FPlayCount = 5;
}

double Stored(const TTeravo& m, std::string_view edit) {
  if (edit == edit::ClientsNum) return m.FClientsNum;
  if (edit == edit::ProgrammersNum) return m.FProgrammersNum;
  if (edit == edit::A) return m.FA;
  if (edit == edit::ErrorsNum0) return m.FErrorsNum0;
  if (edit == edit::CoeffComplexity) return m.FCoeffComplexity;
  if (edit == edit::Yk) return m.FYk;
  if (edit == edit::Mu) return m.FMu;
  if (edit == edit::P_newErr) return m.FP_newErr;
  if (edit == edit::Y_newErr) return m.FY_newErr;
  if (edit == edit::DT) return m.FDT;
  if (edit == edit::M) return m.FM;
  return m.FK;
}

TEST(Acceptance, TheFirstBadFieldStopsWithItsMessageFocusAndAPartialUpdate) {
  const char sep = ',';
  for (std::size_t f = 0; f < Fields().size(); ++f) {
    const FieldCase& field = Fields()[f];
    for (const std::string& bad : field.badTexts) {
      SCOPED_TRACE(std::string(field.edit) + " = '" + bad + "'");
      TTeravo model;
      MarkParameters(model);
      FakeSettingsForm form(sep);
      form.Type(field.edit, bad);
      EXPECT_FALSE(AcceptParameters(model, form));
      EXPECT_EQ(form.log, (Log{Message(field.message), FocusOn(field.edit)}));
      EXPECT_EQ(model.FPlayCount, 0);
      EXPECT_TRUE(model.FShowProgress);
      for (std::size_t before = 0; before < f; ++before) {
        EXPECT_NE(Stored(model, Fields()[before].edit), -7) << Fields()[before].edit;
      }
      for (std::size_t after = f + 1; after < Fields().size(); ++after) {
        EXPECT_EQ(Stored(model, Fields()[after].edit), -7) << Fields()[after].edit;
      }
      // A text that parsed is stored even when its value is refused.
      const bool parses = bad != "abc" && bad != "" && bad.find('.') == std::string::npos &&
                          bad != "2147483648" && !(field.edit == edit::M && bad == "1e3") &&
                          !(field.edit == edit::ClientsNum && bad == "1,5");
      EXPECT_EQ(Stored(model, field.edit) != -7, parses);
    }
  }
}

TEST(Acceptance, OneFieldOfTheNewErrorPairIsReadByTheRadioButton) {
  TTeravo model;
  FakeSettingsForm form;
  form.SetProbabilityChecked(false);
  form.Type(edit::P_newErr, "7");
  form.Type(edit::Y_newErr, "5");
  EXPECT_TRUE(AcceptParameters(model, form));
  EXPECT_FALSE(model.FByProbability);
  EXPECT_EQ(model.FY_newErr, 5);
  EXPECT_EQ(model.FP_newErr, 0);

  form.Type(edit::Y_newErr, "-1");
  EXPECT_FALSE(AcceptParameters(model, form));
  EXPECT_EQ(form.log.back(), Message(msg::Y_newErr));  // the disabled edit is not focused
}

TEST(Acceptance, StepCorrectionsRewriteTheStepAndSaySo) {
  const std::string byRequests =
      "Шаг итерации необходимо выбирать такой, чтобы вероятность одного обращения клиента с "
      "серверу за это время было < 1. При заданной интенсивности обращений клиента к сервру "
      "шаг итерации делаем равным ";
  const std::string byCorrections =
      "Шаг итерации необходимо выбирать такой, чтобы вероятность исправления ошибки за это "
      "время было < 1. При заданной интенсивности исправления ошибки шаг итерации делаем "
      "равным ";
  const std::string advice =
      "Объем потока данных от клиента не должен превышать ООД и должен быть << 1. При "
      "заданной интенсивности обращений клиента к сервру долю данных в одном запросе клиента "
      "рекомендуем равной ";
  {
    TTeravo model;
    FakeSettingsForm form;
    form.Type(edit::Yk, "1000");  // products exactly 1 and 0.1: below both thresholds
    EXPECT_TRUE(AcceptParameters(model, form));
    EXPECT_EQ(form.log, Log{"text edTime=10"});
  }
  {
    TTeravo model;
    FakeSettingsForm form;
    form.Type(edit::Yk, "1010");
    EXPECT_TRUE(AcceptParameters(model, form));
    EXPECT_EQ(model.FDT, 1.0 / 1010);
    EXPECT_EQ(form.log,
              (Log{"text edDT=0,00099009900990099", Message(byRequests + "0,00099009900990099"),
                   Message(advice + "9,9009900990099E-5"), "text edTime=9,9009900990099"}));
  }
  {
    TTeravo model;
    FakeSettingsForm form;
    form.Type(edit::Mu, "200");
    form.Type(edit::DT, "0,02");
    EXPECT_TRUE(AcceptParameters(model, form));
    EXPECT_EQ(form.log, (Log{"text edDT=0,01", Message(byRequests + "0,01"), "text edDT=0,005",
                             Message(byCorrections + "0,005"), "text edTime=50"}));
    // A second acceptance of the corrected values leaves the step alone.
    form.log.clear();
    EXPECT_TRUE(AcceptParameters(model, form));
    EXPECT_EQ(form.log, Log{"text edTime=50"});
  }
  {
    TTeravo model;
    FakeSettingsForm form;
    form.Type(edit::A, "0,5");
    EXPECT_TRUE(AcceptParameters(model, form));
    EXPECT_EQ(model.FA, 0.5);
    EXPECT_EQ(form.log, (Log{Message(advice + "0,001"), "text edTime=10"}));
  }
  {
    TTeravo model;
    FakeSettingsForm form;
    form.Type(edit::Yk, "2000");
    form.Type(edit::DT, "0,0001");
    EXPECT_TRUE(AcceptParameters(model, form));
    EXPECT_EQ(form.log, (Log{Message(advice + "5E-5"), "text edTime=1"}));
  }
}

// Blanks around a number are spaces only: a pasted tab or line break is refused.
TEST(Acceptance, OnlySpacesCountAsBlanks) {
  for (const char* text : {"\t100", "100\t", "100\n", "\r\n100", " 100\v"}) {
    TTeravo model;
    FakeSettingsForm form;
    form.Type(edit::ClientsNum, text);
    EXPECT_FALSE(AcceptParameters(model, form));
    EXPECT_EQ(form.log, (Log{Message(msg::ClientsNum), FocusOn(edit::ClientsNum)}));
  }
  TTeravo model;
  FakeSettingsForm form;
  form.Type(edit::ClientsNum, "  100");  // an integer skips only the blanks before it
  EXPECT_TRUE(AcceptParameters(model, form));
}

// Whatever is typed into a field, acceptance either refuses it with exactly that field's
// message and focus, or stores a value in the field's range.
TEST(Acceptance, HostileTextsGiveTheFieldsMessageOrAValidValue) {
  std::vector<std::string> hostile = {"",
                                      " ",
                                      "\t",
                                      "abc",
                                      "2147483648",
                                      "-2147483649",
                                      "99999999999999999999",
                                      "1e400",
                                      "-1e400",
                                      "1e-400",
                                      "-0",
                                      "1,2,3",
                                      "1.2",
                                      "0x",
                                      "$-1",
                                      "$",
                                      "+",
                                      "-",
                                      "1 2",
                                      "١٢",
                                      "1e",
                                      "e5",
                                      ",",
                                      "inf",
                                      "nan",
                                      "0x1p3",
                                      "１０",
                                      "1\xC2\xA0"
                                      "000"};
  hostile.push_back(std::string("1\0", 2));
  hostile.push_back(std::string("\0", 1));
  hostile.push_back(std::string(10000, '9'));
  hostile.push_back("0," + std::string(10000, '1'));
  for (const FieldCase& field : Fields()) {
    for (const std::string& text : hostile) {
      SCOPED_TRACE(std::string(field.edit) + " = '" + text + "'");
      TTeravo model;
      FakeSettingsForm form;
      form.Type(field.edit, text);
      if (AcceptParameters(model, form)) {
        const double v = Stored(model, field.edit);
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_GE(v, 0);
        // A huge complexity is accepted; the play commands refuse it.
        EXPECT_TRUE(IsUsable(model) || field.edit == edit::K ||
                    field.edit == edit::CoeffComplexity);
      } else {
        EXPECT_EQ(form.log, (Log{Message(field.message), FocusOn(field.edit)}));
      }
    }
  }
}

}  // namespace
}  // namespace teravo::test
