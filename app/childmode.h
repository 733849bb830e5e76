#pragma once
// Child mode: the window fills the screen with no title bar, and the parents' controls (the
// menus, Statistics, closing the window) first ask the grown-ups' gate. Kept in the per-user
// settings file. Outside child mode nothing is gated; F11 toggles full screen in any mode.
#include "base/parentgate.h"

#include <QObject>
#include <array>
#include <functional>
#include <random>

class QCheckBox;
class QWidget;
class MainWindow;

class ChildMode : public QObject {
    Q_OBJECT
  public:
    explicit ChildMode(MainWindow* form);
    bool enabled() const { return enabled_; }
    // Stores the choice and puts the window in its place at once.
    void setEnabled(bool on);
    // The first show: full screen in child mode, maximized otherwise.
    void showWindow();
    void toggleFullScreen();
    // True when the parents' controls may be used now: outside child mode, within the
    // minute after the gate was passed, or when the gate is passed now.
    bool allowParents();
    bool locked() const;

    ParentLock lock;
    // Shows the gate and says whether it was passed; tests answer it themselves.
    std::function<bool(const GateQuestion&)> askGate;
    QCheckBox* childModeCheck;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyWindow();
    MainWindow* form_;
    bool enabled_ = false;
    bool lockWhenOptionsClose_ = false;
    std::mt19937 rng_;
    std::array<std::array<int, 3>, 3> recentQuestions_{}; // digits asked lately, newest first
};
