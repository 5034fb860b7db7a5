#pragma once

#include <vector>

#include <QFont>
#include <QString>

class QWidget;

namespace teravo {

// A caption and the horizontal room the window's design gives it.
struct CaptionRoom {
  QString caption;
  int room;
};

// The smallest horizontal stretch (at least 1) with which every caption fits its room in
// `font`. The design positions were made for a narrower font than most systems have, and a
// clipped caption is worse than a slightly wider window.
double FitScale(const QFont& font, const std::vector<CaptionRoom>& captions);

// A control's place in a window's design, in pixels.
struct DesignRect {
  int left;
  int top;
  int width;
  int height;
};

// Places controls at their design pixel positions, stretched horizontally by a scale.
class DesignPlacer {
 public:
  explicit DesignPlacer(double scaleX) : scaleX_(scaleX) {}
  int X(int designX) const;
  void Place(QWidget* widget, int left, int top, int width, int height) const;
  void Place(QWidget* widget, const DesignRect& rect) const {
    Place(widget, rect.left, rect.top, rect.width, rect.height);
  }

 private:
  double scaleX_;
};

}  // namespace teravo
