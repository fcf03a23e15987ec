#include "library/maintenance/splash_qt.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <array>
#include <string_view>
#include <utility>

#include "library/maintenance/button_clicks.h"
#include "library/maintenance/layout.h"
#include "library/maintenance/window_views_qt.h"
#include "platform/ui/dialog_qt.h"

namespace vt::maintenance {
namespace {

namespace qt = ui::qt;
using qt::Text;
using qt::Twips;

const QColor kDarkBlue(0, 0, 192);

// Flat-coloured: a plain white face with a thin outline.
constexpr const char* kFlatButton =
    "QPushButton { background-color: white; border: 1px solid #808080; }"
    "QPushButton:focus { border: 2px solid #404040; }"
    "QPushButton:pressed { background-color: #e8e8e8; }";

}  // namespace

QPixmap VeltranoLogo() {
  constexpr int kWidth = 291;
  constexpr int kHeight = 81;
  QPixmap logo(kWidth, kHeight);
  logo.fill(Qt::white);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);

  // Two overlapping speech bubbles: one text, two languages.
  auto bubble = [&painter](const QRectF& body, qreal radius, std::array<QPointF, 3> tail) {
    painter.drawRoundedRect(body, radius, radius);
    QPainterPath path;
    path.moveTo(tail[0]);
    path.lineTo(tail[1]);
    path.lineTo(tail[2]);
    painter.drawPath(path);
  };
  QLinearGradient blue(0, 0, 0, kHeight);
  blue.setColorAt(0, QColor(40, 80, 220));
  blue.setColorAt(1, kDarkBlue);
  painter.setPen(Qt::NoPen);
  painter.setBrush(blue);
  bubble(QRectF(6, 8, 50, 36), 9, {QPointF(16, 42), QPointF(12, 56), QPointF(30, 43)});
  painter.setBrush(QColor(230, 120, 20));
  bubble(QRectF(30, 30, 46, 32), 8, {QPointF(64, 60), QPointF(70, 73), QPointF(54, 61)});
  painter.setPen(Qt::white);
  painter.setFont(qt::Font("DejaVu Sans", 13, true));
  painter.drawText(QRectF(6, 8, 50, 24), Qt::AlignCenter, QStringLiteral("Aa"));
  painter.drawText(QRectF(30, 34, 46, 26), Qt::AlignCenter, QStringLiteral("Ää"));

  painter.setPen(kDarkBlue);
  painter.setFont(qt::Font("DejaVu Serif", 26, true));
  painter.drawText(QRectF(86, 4, 200, 46), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Veltrano"));
  painter.setPen(QColor(90, 90, 90));
  painter.setFont(qt::Font("DejaVu Sans", 8.5, false));
  painter.drawText(QRectF(88, 50, 200, 22), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("languages for iFix pictures"));
  painter.setPen(QPen(QColor(230, 120, 20), 2));
  painter.drawLine(QPointF(88, 50), QPointF(282, 50));
  return logo;
}

SplashDialog::SplashDialog(SplashForm& form)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint), form_(form) {
  const layout::Window& table = layout::Splash();
  setObjectName(QString::fromLatin1(SplashForm::kName));
  setFixedSize(layout::TwipsToPixels(table.width), layout::TwipsToPixels(table.height));
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  setFont(qt::Font(table.font));

  QLabel* release = nullptr;
  for (const layout::Control& control : table.controls) {
    switch (control.kind) {
      case layout::Kind::Picture: {
        auto* logo = new QLabel(this);
        qt::Place(*logo, control);
        logo->setPixmap(VeltranoLogo());
        break;
      }
      case layout::Kind::Label: {
        release = new QLabel(this);
        qt::Place(*release, control);
        release->setAlignment(Qt::AlignCenter);
        QPalette blue = release->palette();
        blue.setColor(QPalette::WindowText, kDarkBlue);
        release->setPalette(blue);
        break;
      }
      case layout::Kind::Button: {
        auto* button = new QPushButton(Text(control.text), this);
        qt::Place(*button, control);
        button->setStyleSheet(QString::fromLatin1(kFlatButton));
        button->setAutoDefault(false);
        // The inner call takes the form itself, not `this`: GCC 12 checks a `this`
        // captured by a nested lambda against the closure, which crashes UBSan.
        for (const auto& [name, click] : kSplashClicks) {
          if (std::string_view(name) != control.name) continue;
          connect(button, &QPushButton::clicked, this,
                  [this, click = click] { Raise([&form = form_, click] { (form.*click)(); }); });
        }
        break;
      }
      default:
        break;  // the outlines are painted
    }
  }
  // Enter presses Ok, which holds the focus when the panel opens.
  findChild<QPushButton*>(QStringLiteral("cmdOk"))->setDefault(true);

  Raise([this] { form_.Form_Load(); });
  if (release != nullptr) release->setText(QString::fromStdString(form_.lblRelease));
  qt::FollowTabOrder(*this, table.tab_order);
}

void SplashDialog::closeEvent(QCloseEvent* event) {
  if (!form_.closed) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void SplashDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.setBrush(Qt::NoBrush);
  // The fixed border: the panel has no title bar, and a window manager that
  // draws none would leave white on white.
  painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(QPen(Qt::black, 1));
  // Outlines drawn inside their boxes, as the shapes' borders are.
  const layout::Window& table = layout::Splash();
  painter.drawRect(Twips(layout::Find(table, "shpFrame")).adjusted(0, 0, -1, -1));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawRoundedRect(
      QRectF(Twips(layout::Find(table, "shpReleaseFrame"))).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

void SplashDialog::Raise(const std::function<void()>& procedure) {
  procedure();
  if (form_.closed) done(QDialog::Accepted);
}

void RunQtView(SplashForm& form) {
  SplashDialog dialog(form);
  qt::CentreOnScreen(dialog);
  dialog.exec();
}

}  // namespace vt::maintenance
