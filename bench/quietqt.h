// What Qt says about the benchmarks' surroundings rather than the program is kept out of
// their output: the offscreen platform's note, for every window shown, that it cannot hint
// window sizes, and the warning about a missing runtime folder (the run gets its own, as a
// desktop session has). Any other message is printed.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace quietqt {
inline QtMessageHandler& next() {
    static QtMessageHandler handler = nullptr;
    return handler;
}
inline void filter(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.contains(QLatin1String("does not support propagateSizeHints")))
        next()(type, context, text);
}
// Before the application object.
inline void install() {
    static QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid() &&
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    next() = qInstallMessageHandler(filter);
}
} // namespace quietqt
