#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace teravo {

// "осталось ≈ …" after `done` of `total` plays in `elapsedMs`, at the pace so far; empty before
// the first play has finished.
QString TimeLeftText(qint64 elapsedMs, int done, int total);

// The status line's part of a running play or series: what runs, how far it is, and a
// button that stops it.
class ProgressLine : public QWidget {
  Q_OBJECT
 public:
  explicit ProgressLine(QWidget* parent = nullptr);

  // "Розыгрыш k из K", k the plays finished so far, and the time left at the pace so far.
  void ShowSeries(int playsTotal);
  void SetPlaysDone(int playsDone);
  // A single play says how far it is only in its own window: the bar just shows it is busy.
  void ShowPlay();
  // The plays have ended and their windows open, `steps` of them; this cannot be stopped.
  void ShowOpening(int steps);
  void SetStepsDone(int steps);

  QProgressBar* Bar() const { return bar_; }
  QPushButton* StopButton() const { return stop_; }
  QLabel* Label() const { return label_; }
  QLabel* TimeLeft() const { return timeLeft_; }

 signals:
  void StopRequested();

 private:
  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* stop_;
  QLabel* timeLeft_;
  QElapsedTimer started_;
};

}  // namespace teravo
