#include "ui/common/figure_edit.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace teravo {

namespace {

// QLineEdit keeps this much room on either side of its text.
constexpr int kInnerMargin = 2;

}  // namespace

int LineEditWidth(const QLineEdit& edit, const QString& text) {
  const QMargins margins = edit.textMargins();
  // One pixel more for the cursor a selected value shows.
  const int inner = edit.fontMetrics().horizontalAdvance(text) + 2 * kInnerMargin + margins.left() +
                    margins.right() + 1;
  QStyleOptionFrame option;
  option.initFrom(&edit);
  option.lineWidth =
      edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
  return edit.style()
      ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, 0), &edit)
      .width();
}

int DigitsWidth(const QLineEdit& edit, int digits) {
  return LineEditWidth(edit, QString(digits, QLatin1Char('0')));
}

FigureEdit::FigureEdit(int minimumDigits, QWidget* parent)
    : QLineEdit(parent), widestText_(minimumDigits, QLatin1Char('0')) {
  setReadOnly(true);
  setFrame(false);
  // Clicking gives it the focus, so the selected value can be copied with the keyboard too;
  // Tab still passes it by.
  setFocusPolicy(Qt::ClickFocus);
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (LineEditWidth(*this, text) <= LineEditWidth(*this, widestText_)) return;
    widestText_ = text;
    widened_ = true;
    updateGeometry();
  });
}

QSize FigureEdit::sizeHint() const {
  QSize hint = QLineEdit::sizeHint();
  hint.setWidth(LineEditWidth(*this, widestText_));
  return hint;
}

}  // namespace teravo
