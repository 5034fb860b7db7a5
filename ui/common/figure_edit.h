#pragma once

#include <QLineEdit>

namespace teravo {

// The width a line edit needs to show `text` whole, frame and margins included.
int LineEditWidth(const QLineEdit& edit, const QString& text);
// The same for a number of `digits` digits: an edit's room for the values it expects.
int DigitsWidth(const QLineEdit& edit, int digits);

// A read-only value of a results window: bold, frameless, never cut off. It asks for as much
// width as the widest text it has held (so a value that grows during a play widens its column
// once, and the layout does not jump back and forth), and never less than `minimumDigits`.
// The user can select and copy it.
class FigureEdit : public QLineEdit {
 public:
  explicit FigureEdit(int minimumDigits, QWidget* parent = nullptr);

  // True when this text made it ask for more width.
  bool Widened() const { return widened_; }
  void ClearWidened() { widened_ = false; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 private:
  QString widestText_;  // measured in the font of the moment, so a later font counts
  bool widened_ = false;
};

}  // namespace teravo
