#include "params/run_description.h"

#include "core/number_text.h"

namespace teravo {

std::string GetParametersText(const TTeravo& m, std::string_view timeText, char separator) {
  auto real = [separator](double value) { return FloatToStr(value, separator); };
  std::string text;
  text.reserve(512);
  text.append("Кол-во программ-клиентов: ").append(IntToStr(m.FClientsNum));
  text.append(", Кол-во программистов: ").append(IntToStr(m.FProgrammersNum));
  text.append(", Доля от общей области данных (ООД) в одном запросе клиента: ").append(real(m.FA));
  text.append(", Начальное кол-во ошибок: ").append(IntToStr(m.FErrorsNum0));
  text.append(", Коэффициент сложности сервера: ").append(real(m.FCoeffComplexity));
  text.append(", Интенсивность потока обращений клиента к серверу: ")
      .append(real(m.FYk))
      .append(" (1/сутки)");
  text.append(", Интенсивность потока исправления ошибки: ")
      .append(real(m.FMu))
      .append(" (1/сутки)");
  if (m.FByProbability) {
    text.append(", Вероятность внести ошибку при исправлении: ").append(real(m.FP_newErr));
  } else {
    text.append(", Интенсивность внесения ошибки при исправлении: ")
        .append(real(m.FY_newErr))
        .append(" (1/сутки)");
  }
  text.append(", Шаг итерации: ").append(real(m.FDT));
  text.append(", Кол-во итераций: ").append(IntToStr(m.FM));
  text.append(", Общее время розыгрыша: ").append(timeText).append(" (сутки)");
  return text;
}

}  // namespace teravo
