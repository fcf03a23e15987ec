#include "platform/ui/dialog_qt.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace vt::ui::qt {

QFont Font(const char* family, double points, bool bold) {
  QFont font;
  // Narrow stand-ins where the named family is missing.
  font.setFamilies({QString::fromLatin1(family), QStringLiteral("Liberation Sans Narrow"),
                    QStringLiteral("DejaVu Sans Condensed")});
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

void Place(QWidget& widget, const layout::Control& control) {
  widget.setObjectName(QString::fromLatin1(control.name));
  widget.setGeometry(Twips(control));
  if (*control.tool_tip != '\0') widget.setToolTip(Text(control.tool_tip));
  if (control.font.family != nullptr) widget.setFont(Font(control.font));
  if (control.pointing_hand) widget.setCursor(Qt::PointingHandCursor);
}

void FollowTabOrder(QWidget& window, std::span<const char* const> names) {
  QWidget* previous = nullptr;
  for (const char* name : names) {
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    if (widget == nullptr) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
  if (!names.empty()) {
    if (auto* first = window.findChild<QWidget*>(QString::fromLatin1(names.front()))) {
      first->setFocus();
    }
  }
}

void FitOnOneLine(QLabel& label, double smallest) {
  QFont font = label.font();
  while (font.pointSizeF() - 0.25 >= smallest &&
         QFontMetricsF(font).horizontalAdvance(label.text()) > label.width()) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  label.setFont(font);
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen =
      window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

}  // namespace vt::ui::qt
