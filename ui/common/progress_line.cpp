#include "ui/common/progress_line.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/common/locale_text.h"

namespace teravo {

ProgressLine::ProgressLine(QWidget* parent)
    : QWidget(parent),
      label_(new QLabel(ToQString("Розыгрыш итерации"), this)),
      bar_(new QProgressBar(this)),
      stop_(new QPushButton(ToQString("Остановить"), this)) {
  setObjectName(QStringLiteral("ProgressLine"));
  bar_->setObjectName(QStringLiteral("pbPlays"));
  stop_->setObjectName(QStringLiteral("btStop"));
  stop_->setToolTip(ToQString("Остановить розыгрыш (Esc)"));
  // A click must not take the keyboard from the window where Esc and F-keys work.
  stop_->setFocusPolicy(Qt::NoFocus);
  bar_->setMinimumWidth(fontMetrics().horizontalAdvance(ToQString("Розыгрыш 00000 из 00000")) +
                        fontMetrics().averageCharWidth() * 4);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  layout->addWidget(stop_);
  connect(stop_, &QPushButton::clicked, this, &ProgressLine::StopRequested);
}

void ProgressLine::ShowSeries(int playsTotal) {
  label_->hide();
  bar_->setFormat(ToQString("Розыгрыш %v из %m"));
  stop_->setEnabled(true);
  bar_->setRange(0, playsTotal);
  bar_->setValue(0);
  bar_->setTextVisible(true);
}

void ProgressLine::SetPlaysDone(int playsDone) {
  bar_->setValue(playsDone);
}

void ProgressLine::ShowPlay() {
  label_->show();
  bar_->setRange(0, 0);
  bar_->setTextVisible(false);
  stop_->setEnabled(true);
}

void ProgressLine::ShowOpening(int steps) {
  label_->hide();
  bar_->setFormat(ToQString("Открытие окон: %p %"));
  bar_->setRange(0, steps);
  bar_->setValue(0);
  bar_->setTextVisible(true);
  stop_->setEnabled(false);
}

void ProgressLine::SetStepsDone(int steps) {
  bar_->setValue(steps);
}

}  // namespace teravo
