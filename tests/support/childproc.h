#pragma once
// Helper programs the integration tests start: servers that must not outlive the test,
// and tools whose output a test reads.
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

// Starts program in the background; it is killed with the test process even if the test
// crashes.
inline bool startChild(QProcess& p, const QString& program, const QStringList& args) {
    p.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    return p.waitForStarted(10000);
}

inline void stopChild(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(5000);
    }
}

// Runs a tool to its end; returns its standard output, or a null array when it could not
// run or failed.
inline QByteArray runTool(const QString& program, const QStringList& args,
                          QByteArray* errors = nullptr, int timeoutMs = 60000) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    if (errors)
        *errors = p.readAllStandardError();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    QByteArray out = p.readAllStandardOutput();
    return out.isNull() ? QByteArray("") : out;
}

// A TCP port nobody listens on at this moment.
inline quint16 freePort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

inline bool waitForPort(quint16 port, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, port);
        if (s.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}
