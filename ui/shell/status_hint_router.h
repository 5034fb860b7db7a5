#pragma once

#include <QObject>
#include <QPointer>

class QStatusBar;

namespace teravo {

// Puts the hint of whatever the pointer rests on into the main window's status line, from
// every window of the program: Qt delivers a status tip only to the window it arose in, and
// the settings dialog is a window of its own. Installed on the application.
class StatusHintRouter : public QObject {
  Q_OBJECT
 public:
  StatusHintRouter(QStatusBar* statusLine, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QStatusBar> statusLine_;
};

}  // namespace teravo
