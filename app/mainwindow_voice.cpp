// The looping tool noises: started from a worker thread, played on the window thread.
#include "app/voice.h"

#include "app/mainwindow.h"

ToolSoundThread::ToolSoundThread(MainWindow* form) : form_(form) {
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void ToolSoundThread::run() {
    const ToolKind tool = form_->currentTool();
    const char* name = tool == ToolKind::Spray    ? "sndfuse"
                       : tool == ToolKind::Eraser ? "sndstir"
                                                  : nullptr;
    ISound* sound = form_->platform.sound;
    if (!name || !sound)
        return;
    const QString loop = QString::fromLatin1(name);
    MainWindow* form = form_;
    // The player belongs to the window thread. A quick click can bring the release before
    // this start arrives; a loop started then would never be stopped, so it is dropped.
    QMetaObject::invokeMethod(
        form,
        [form, sound, loop] {
            if (form->tools.strokeActive)
                sound->play(loop, true);
        },
        Qt::QueuedConnection);
}

void MainWindow::startToolSound() {
    auto* t = new ToolSoundThread(this);
    toolSoundThread = t;
    toolSoundStarted = true;
    t->start();
}
