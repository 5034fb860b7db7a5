#include "ui/design_placer.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QWidget>

namespace teravo {

namespace {

// Room for the frame and padding that labels and buttons draw around their text.
constexpr int kCaptionPadding = 8;

QString WithoutMnemonic(QString caption) {
  caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  caption.remove(QLatin1Char('&'));
  caption.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return caption;
}

}  // namespace

double FitScale(const QFont& font, const std::vector<CaptionRoom>& captions) {
  const QFontMetrics metrics(font);
  double scale = 1.0;
  for (const CaptionRoom& item : captions) {
    const int needed = metrics.horizontalAdvance(WithoutMnemonic(item.caption)) + kCaptionPadding;
    if (item.room > 0) scale = std::max(scale, static_cast<double>(needed) / item.room);
  }
  return scale;
}

int DesignPlacer::X(int designX) const {
  return static_cast<int>(std::lround(designX * scaleX_));
}

void DesignPlacer::Place(QWidget* widget, int left, int top, int width, int height) const {
  const int x = X(left);
  widget->setGeometry(x, top, X(left + width) - x, height);
}

}  // namespace teravo
