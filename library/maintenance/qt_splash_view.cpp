#include "library/maintenance/qt_splash_view.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "library/maintenance/qt_layout.h"
#include "library/maintenance/qt_views.h"

namespace vt::maintenance {
namespace {

using qt::Text;
using qt::Twips;

const QColor kDarkBlue(0, 0, 192);

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* tip,
                    QRect where) {
  auto* button = new QPushButton(Text(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  if (*tip != '\0') button->setToolTip(Text(tip));
  button->setGeometry(where);
  button->setCursor(Qt::PointingHandCursor);
  // Flat-coloured: a plain white face with a thin outline.
  button->setStyleSheet(
      QStringLiteral("QPushButton { background-color: white; border: 1px solid #808080; }"
                     "QPushButton:focus { border: 2px solid #404040; }"
                     "QPushButton:pressed { background-color: #e8e8e8; }"));
  return button;
}

}  // namespace

QPixmap VeltranoLogo() {
  constexpr int kWidth = 291;
  constexpr int kHeight = 81;
  QPixmap logo(kWidth, kHeight);
  logo.fill(Qt::white);
  QPainter painter(&logo);
  painter.setRenderHint(QPainter::Antialiasing);

  // Two overlapping speech bubbles: one text, two languages.
  QLinearGradient blue(0, 0, 0, kHeight);
  blue.setColorAt(0, QColor(40, 80, 220));
  blue.setColorAt(1, kDarkBlue);
  painter.setPen(Qt::NoPen);
  painter.setBrush(blue);
  painter.drawRoundedRect(QRectF(6, 8, 50, 36), 9, 9);
  QPainterPath tail;
  tail.moveTo(16, 42);
  tail.lineTo(12, 56);
  tail.lineTo(30, 43);
  painter.drawPath(tail);
  painter.setBrush(QColor(230, 120, 20));
  painter.drawRoundedRect(QRectF(30, 30, 46, 32), 8, 8);
  QPainterPath tail2;
  tail2.moveTo(64, 60);
  tail2.lineTo(70, 73);
  tail2.lineTo(54, 61);
  painter.drawPath(tail2);
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
  setObjectName(QString::fromLatin1(SplashForm::kName));
  setFixedSize(TwipsToPixels(5070), TwipsToPixels(6225));
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  setFont(qt::Font("MS Sans Serif", 8, false));

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("imgLogo"));
  logo->setGeometry(Twips(360, 840, 4365, 1215));
  logo->setPixmap(VeltranoLogo());

  auto* release = new QLabel(this);
  release->setObjectName(QStringLiteral("lblRelease"));
  release->setGeometry(Twips(1808, 2280, 1455, 270));
  release->setAlignment(Qt::AlignCenter);
  release->setFont(qt::Font("Arial", 12, true));
  QPalette blue = release->palette();
  blue.setColor(QPalette::WindowText, kDarkBlue);
  release->setPalette(blue);

  QPushButton* ok = Button(this, "cmdOk", "Ok", "", Twips(1800, 5520, 1575, 495));
  QPushButton* guide_it = Button(this, "cmdOpenUserGuide_IT", "User guide - IT",
                                 " Open the italian user guide ", Twips(360, 3960, 2055, 495));
  QPushButton* guide_en = Button(this, "cmdOpenUserGuide_EN", "User guide - EN",
                                 " Open the english user guide ", Twips(2640, 3960, 2055, 495));
  QPushButton* ini = Button(this, "cmdOpenIniFile", "Startup configuration",
                            " Open the configuration file ", Twips(360, 4560, 2055, 495));
  QPushButton* eula = Button(this, "cmdOpenEula", "License agreement", " Open the EULA file ",
                             Twips(2640, 4560, 2055, 495));
  for (QPushButton* button : {ok, guide_it, guide_en, ini, eula}) button->setAutoDefault(false);
  ok->setDefault(true);
  QWidget::setTabOrder(ok, guide_it);
  QWidget::setTabOrder(guide_it, guide_en);
  QWidget::setTabOrder(guide_en, ini);
  QWidget::setTabOrder(ini, eula);

  connect(ok, &QPushButton::clicked, this, [this] { Raise([this] { form_.cmdOk_Click(); }); });
  connect(guide_it, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdOpenUserGuide_IT_Click(); }); });
  connect(guide_en, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdOpenUserGuide_EN_Click(); }); });
  connect(ini, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdOpenIniFile_Click(); }); });
  connect(eula, &QPushButton::clicked, this,
          [this] { Raise([this] { form_.cmdOpenEula_Click(); }); });

  Raise([this] { form_.Form_Load(); });
  release->setText(QString::fromStdString(form_.lblRelease));
  ok->setFocus();
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
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  // Outlines drawn inside their boxes, as the shapes' borders are.
  painter.drawRect(Twips(120, 120, 4815, 5175).adjusted(0, 0, -1, -1));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.drawRoundedRect(QRectF(Twips(1508, 2160, 2055, 495)).adjusted(0.5, 0.5, -0.5, -0.5), 8,
                          8);
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
