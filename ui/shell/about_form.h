#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace teravo {

// "О программе": what the program is for and its version. Closing only hides it.
class TfrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);
  QPlainTextEdit* Memo() const { return memo1_; }

 private:
  QPlainTextEdit* memo1_;
};

}  // namespace teravo
