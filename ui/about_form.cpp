#include "ui/about_form.h"

#include <QPlainTextEdit>
#include <QRect>
#include <QSize>

#include "ui/locale_text.h"

namespace teravo {

namespace {

constexpr QSize kDesignSize(508, 175);
constexpr QRect kMemoPlace(8, 16, 481, 121);

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent), memo1_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(ToQString("О программе"));
  setFixedSize(kDesignSize);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setReadOnly(true);
  memo1_->setGeometry(kMemoPlace);
  // The first five lines are one paragraph; the memo wraps it to its width.
  memo1_->setPlainText(
      ToQString("Программа для прогнозирования поведения надежности ПО во времене на "
                "основе метода Монте-Карло. Программа позволяет, задавая различные "
                "начальные условия, наблюдать поведение надежности ПО во времени. Это "
                "позволяет оценивать затраты и ресурсы для построения и сопровождения "
                "высоконадежного ПО.\n"
                " \n"
                "версия 1.00 09.06.2003"));
}

}  // namespace teravo
