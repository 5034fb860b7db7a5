#include "ui/main_form.h"

namespace teravo {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Программа моделирования надежности ПО методом Монте-Карло"));
  resize(409, 249);
}

}  // namespace teravo
