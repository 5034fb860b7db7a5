#pragma once

class QWidget;

namespace teravo {

// Sizes a top-level window to what it asks for (or keeps the size the user gave it), within
// the screen of `over`, and centres it over `over`, moved as little as needed to lie fully on
// that screen.
void PlaceCentred(QWidget& window, const QWidget& over);

// The main window's first place: three quarters of its screen, centred, and never narrower
// than its tool bar needs.
void PlaceOnScreen(QWidget& window, int minimumWidth);

}  // namespace teravo
