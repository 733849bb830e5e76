#pragma once
#include <QWidget>

class QProgressBar;

// Borderless, always on top, shown while the main window is built.
class SplashScreen : public QWidget {
    Q_OBJECT
  public:
    explicit SplashScreen(QWidget* parent = nullptr);
    // Advances the bar by one and repaints at once.
    void step();
    void raiseMaximum(int by);
    QProgressBar* progressBar;
};
