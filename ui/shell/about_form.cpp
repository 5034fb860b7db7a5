#include "ui/shell/about_form.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/common/locale_text.h"

namespace teravo {

namespace {

// The memo shows its paragraph in about this many lines of this many characters.
constexpr int kMemoColumns = 80;
constexpr int kMemoLines = 8;

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent), memo1_(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(ToQString("О программе"));
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setReadOnly(true);
  const QFontMetrics metrics = memo1_->fontMetrics();
  memo1_->setMinimumSize(kMemoColumns * metrics.averageCharWidth(),
                         kMemoLines * metrics.lineSpacing());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memo1_);
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
