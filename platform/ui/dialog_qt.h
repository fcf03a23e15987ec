#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "platform/ui/dialog_layout.h"

class QLabel;
class QWidget;

// The dialog kit's Qt side: the layout tables' twips, fonts as the tables
// name them, and placing a window.
namespace vt::ui::qt {

inline QRect Twips(int left, int top, int width, int height) {
  return {layout::TwipsToPixels(left), layout::TwipsToPixels(top), layout::TwipsToPixels(width),
          layout::TwipsToPixels(height)};
}

inline QRect Twips(const layout::Control& control) {
  return Twips(control.left, control.top, control.width, control.height);
}

// A font of that family and size, bold when asked; the platform substitutes
// a family it lacks.
QFont Font(const char* family, double points, bool bold);
inline QFont Font(const layout::Font& font) { return Font(font.family, font.points, font.bold); }

// Names the widget after the control and gives it the control's place, tool
// tip, font (when it names one) and pointer.
void Place(QWidget& widget, const layout::Control& control);

// The widgets of `names` in that tab order, the focus on the first.
void FollowTabOrder(QWidget& window, std::span<const char* const> names);

// Shrinks the label's font, a quarter point at a time down to `smallest`,
// until its text fits on one line: the layouts were measured with fonts this
// platform may lack and replace with wider ones.
void FitOnOneLine(QLabel& label, double smallest = 6.5);

// The window's client area centred on the screen it will show on.
void CentreOnScreen(QWidget& window);

inline QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace vt::ui::qt
