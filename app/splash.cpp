#include "app/splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace {
QLabel* label(QWidget* parent, const QString& text, const QString& color, int top, int height) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPixelSize(height - 6);
    l->setFont(f);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("color: %1;").arg(color));
    l->setGeometry(0, top, 247, height);
    return l;
}
} // namespace

TFm_Splash::TFm_Splash(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("Fm_Splash"));
    setFixedSize(247, 137);
    setStyleSheet(QStringLiteral("TFm_Splash { background: #fffdf0; border: 2px solid #8bc34a; }"));
    setAttribute(Qt::WA_StyledBackground);
    label(this, QStringLiteral("Pictaro 3.1"), QStringLiteral("#1b8a2a"), 6, 28);
    label(this, QStringLiteral("Loading..."), QStringLiteral("#d01818"), 36, 22);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(21, 62, 205, 33);
    ProgressBar1->setRange(0, 10);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    label(this, QStringLiteral("Wait a few seconds"), QStringLiteral("#1840d0"), 102, 22);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void TFm_Splash::step() {
    ProgressBar1->setValue(std::min(ProgressBar1->maximum(), ProgressBar1->value() + 1));
    repaint();
}

void TFm_Splash::raiseMaximum(int by) {
    ProgressBar1->setMaximum(ProgressBar1->maximum() + by);
}
