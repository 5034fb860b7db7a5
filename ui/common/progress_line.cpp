#include "ui/common/progress_line.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/common/locale_text.h"

namespace teravo {

QString TimeLeftText(qint64 elapsedMs, int done, int total) {
  if (done <= 0 || total <= done) return {};
  const qint64 seconds = (elapsedMs * (total - done) / done + 999) / 1000;
  QString left;
  if (seconds < 60) {
    left = ToQString("%1 с").arg(seconds);
  } else if (seconds < 3600) {
    left = ToQString("%1 мин %2 с").arg(seconds / 60).arg(seconds % 60);
  } else {
    left = ToQString("%1 ч %2 мин").arg(seconds / 3600).arg(seconds % 3600 / 60);
  }
  return ToQString("осталось ≈ ") + left;
}

ProgressLine::ProgressLine(QWidget* parent)
    : QWidget(parent),
      label_(new QLabel(ToQString("Розыгрыш итерации"), this)),
      bar_(new QProgressBar(this)),
      stop_(new QPushButton(ToQString("Остановить"), this)),
      timeLeft_(new QLabel(this)) {
  setObjectName(QStringLiteral("ProgressLine"));
  bar_->setObjectName(QStringLiteral("pbPlays"));
  stop_->setObjectName(QStringLiteral("btStop"));
  timeLeft_->setObjectName(QStringLiteral("lbTimeLeft"));
  timeLeft_->hide();
  stop_->setToolTip(ToQString("Остановить розыгрыш (Esc)"));
  // A click must not take the keyboard from the window where Esc and F-keys work.
  stop_->setFocusPolicy(Qt::NoFocus);
  bar_->setMinimumWidth(fontMetrics().horizontalAdvance(ToQString("Розыгрыш 00000 из 00000")) +
                        fontMetrics().averageCharWidth() * 4);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  layout->addWidget(timeLeft_);
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
  timeLeft_->clear();
  timeLeft_->show();
  started_.start();
}

void ProgressLine::SetPlaysDone(int playsDone) {
  bar_->setValue(playsDone);
  timeLeft_->setText(TimeLeftText(started_.elapsed(), playsDone, bar_->maximum()));
}

void ProgressLine::ShowPlay() {
  timeLeft_->hide();
  label_->show();
  bar_->setRange(0, 0);
  bar_->setTextVisible(false);
  stop_->setEnabled(true);
}

void ProgressLine::ShowOpening(int steps) {
  label_->hide();
  timeLeft_->hide();
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
