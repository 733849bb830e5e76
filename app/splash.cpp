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

SplashScreen::SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen) {
    setObjectName(QStringLiteral("Fm_Splash"));
    setFixedSize(247, 137);
    setStyleSheet(
        QStringLiteral("SplashScreen { background: #fffdf0; border: 2px solid #8bc34a; }"));
    setAttribute(Qt::WA_StyledBackground);
    label(this, QStringLiteral("Pictaro 3.1"), QStringLiteral("#1b8a2a"), 6, 28);
    label(this, tr("Loading..."), QStringLiteral("#d01818"), 36, 22);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(21, 62, 205, 33);
    progressBar->setRange(0, 10);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
    label(this, tr("Wait a few seconds"), QStringLiteral("#1840d0"), 102, 22);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

void SplashScreen::step() {
    progressBar->setValue(std::min(progressBar->maximum(), progressBar->value() + 1));
    repaint();
}

void SplashScreen::raiseMaximum(int by) {
    progressBar->setMaximum(progressBar->maximum() + by);
}
