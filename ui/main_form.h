#pragma once

#include <QMainWindow>

namespace teravo {

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(QWidget* parent = nullptr);
};

}  // namespace teravo
