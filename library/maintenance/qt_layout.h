#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "library/maintenance/twips.h"

class QLabel;
class QWidget;

// What the Qt views share: the layout tables' twips, fonts as the tables
// name them, and placing a window.
namespace vt::maintenance::qt {

inline QRect Twips(int left, int top, int width, int height) {
  return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// A font of that family and size, bold when asked; the platform substitutes
// a family it lacks.
QFont Font(const char* family, double points, bool bold);

// Shrinks the label's font, a quarter point at a time down to `smallest`,
// until its text fits on one line: the layouts were measured with fonts this
// platform may lack and replace with wider ones.
void FitOnOneLine(QLabel& label, double smallest = 6.5);

// The window's client area centred on the screen it will show on.
void CentreOnScreen(QWidget& window);

inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace vt::maintenance::qt
