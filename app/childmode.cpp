#include "app/childmode.h"

#include "app/mainwindow.h"
#include "app/options.h"
#include "app/parentgate.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

namespace {} // namespace

ChildMode::ChildMode(MainWindow* form) : QObject(form), form_(form), rng_(std::random_device{}()) {
    setObjectName(QStringLiteral("ChildMode"));
    askGate = [this](const GateQuestion& q) {
        TFm_ParentGate gate(q, form_);
        return gate.exec() == QDialog::Accepted;
    };
    enabled_ = UserOptions::childMode();

    // The option sits under the others in the options window, which grows to hold it.
    childModeCheck = form_->optionsDialog->addSwitch(
        "childModeCheck", QT_TRANSLATE_NOOP("OptionsDialog", "Child mode (full screen, locked)"));
    childModeCheck->setChecked(enabled_);
    OptionsDialog* o = form_->optionsDialog;
    connect(childModeCheck, &QCheckBox::toggled, this, &ChildMode::setEnabled);
    connect(o, &QDialog::finished, this, [this] {
        if (lockWhenOptionsClose_ && enabled_)
            lock.close();
        lockWhenOptionsClose_ = false;
    });

    auto* f11 = new QShortcut(QKeySequence(Qt::Key_F11), form_);
    f11->setContext(Qt::ApplicationShortcut);
    connect(f11, &QShortcut::activated, this, &ChildMode::toggleFullScreen);

    form_->installEventFilter(this);
    form_->menuBar()->installEventFilter(this);
    form_->ui.statisticsButton->installEventFilter(this);
    if (enabled_)
        form_->setWindowFlag(Qt::FramelessWindowHint, true);
}

bool ChildMode::locked() const {
    return enabled_ && !lock.isOpen();
}

bool ChildMode::allowParents() {
    if (!locked())
        return true;
    // A fresh question each time: a child who watched the last few cannot repeat them.
    GateQuestion q;
    do
        q = GateQuestion::random(rng_);
    while (std::find(recentQuestions_.begin(), recentQuestions_.end(), q.digits) !=
           recentQuestions_.end());
    std::rotate(recentQuestions_.rbegin(), recentQuestions_.rbegin() + 1, recentQuestions_.rend());
    recentQuestions_[0] = q.digits;
    if (!askGate(q))
        return false;
    lock.open();
    return true;
}

void ChildMode::setEnabled(bool on) {
    if (childModeCheck->isChecked() != on)
        childModeCheck->setChecked(on); // comes back here through toggled
    if (enabled_ == on)
        return;
    enabled_ = on;
    UserOptions::setChildMode(on);
    // Whoever switched it on is a grown-up, but the child gets the window next: the controls
    // stay open while the options window is up, and lock as it closes.
    lockWhenOptionsClose_ = on && form_->optionsDialog->isVisible();
    if (lockWhenOptionsClose_)
        lock.open();
    else if (on)
        lock.close();
    applyWindow();
}

void ChildMode::applyWindow() {
    if (!form_->isVisible())
        return;
    form_->setWindowFlag(Qt::FramelessWindowHint, enabled_);
    if (enabled_)
        form_->showFullScreen();
    else
        form_->showMaximized();
}

void ChildMode::showWindow() {
    if (enabled_)
        form_->showFullScreen();
    else
        form_->showMaximized();
}

void ChildMode::toggleFullScreen() {
    if (form_->isFullScreen())
        form_->showMaximized();
    else
        form_->showFullScreen();
}

bool ChildMode::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type t = event->type();
    if (watched == form_ && t == QEvent::Close) {
        // The desktop ending the session asks nobody.
        if (!form_->endingSession && !allowParents()) {
            event->ignore();
            return true;
        }
        return false;
    }
    if (!locked())
        return false;
    QMenuBar* bar = form_->menuBar();
    if (watched == bar) {
        if (t == QEvent::MouseButtonPress) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (allowParents())
                if (QAction* a = bar->actionAt(at))
                    bar->setActiveAction(a);
            return true;
        }
        if (t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick)
            return true;
        // The keyboard way in: Alt, then an arrow or Return on the highlighted menu.
        if (t == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Down || key == Qt::Key_Up || key == Qt::Key_Return ||
                key == Qt::Key_Enter || key == Qt::Key_Space)
                return true;
        }
        return false;
    }
    if (watched == form_->ui.statisticsButton) {
        if (t == QEvent::MouseButtonPress) {
            if (allowParents())
                form_->ui.statisticsButton->click();
            return true;
        }
        return t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick;
    }
    return false;
}
