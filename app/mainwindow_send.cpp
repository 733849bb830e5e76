// Sending the picture to the gallery site, and opening the site in the browser.
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "base/atomicfile.h"
#include "base/rng.h"
#include "share/gallery.h"
#include "share/http.h"
#include "share/jpeg.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <exception>
#include <functional>
#include <stdexcept>
#include <thread>

bool MainWindow::isOnline() {
    return platform.network && platform.network->isOnline();
}

QImage MainWindow::captureDrawingArea() {
    // What the screen shows over the area, the magnifier included: render the panel that
    // holds the area and its overlays, cut to the area's rectangle.
    const QRect area = ui.drawingArea->geometry();
    if (area.isEmpty())
        return {};
    QImage shot = ui.pageColumn->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.size() != area.size()) // a high-density screen: back to one pixel per point
        shot = shot.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return shot;
}

namespace {
// Runs one request on a thread of its own. The window keeps painting under a busy cursor;
// the child's clicks and keys wait until the request is over, so nothing starts twice.
QByteArray offWindowThread(HttpClient& client, const std::function<QByteArray()>& request) {
    QByteArray answer;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            answer = request();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the program quits: then the request is stopped, not waited for.
    client.cancel();
    worker.join();
    QGuiApplication::restoreOverrideCursor();
    if (failure)
        std::rethrow_exception(failure);
    return answer;
}

QString askUntilAnswered(IInputBox* input, const QString& prompt) {
    QString answer;
    while (answer.isEmpty())
        answer = input->ask(MainWindow::tr("Your child"), prompt, QString());
    return answer;
}
} // namespace

void MainWindow::onSendClicked() {
    if (!isOnline())
        return;
    if (!QDir().mkpath(folders.uploadFolder))
        throw std::runtime_error("Cannot create folder \"" + folders.uploadFolder.toStdString() +
                                 "\".");

    rng::Randomize();
    const QString fileName = RandomFileName(10) + QStringLiteral(".jpg");
    const QString target = folders.uploadFolder + QLatin1Char('/') + fileName;

    try {
        const QImage shot = captureDrawingArea();
        if (shot.isNull())
            throw std::runtime_error("The drawing area could not be captured.");
        writeFileAtomically(target, EncodeJpeg(shot, 60));
    } catch (const std::exception&) {
        platform.messages->show(tr("Warning"),
                                tr("The picture could not be made.\n"
                                   "Please try again; if it happens again, write to us."),
                                MessageIcon::Warning);
        return;
    }

    const QString childName = askUntilAnswered(platform.input, tr("Child's name"));
    const QString age = askUntilAnswered(platform.input, tr("Child's age"));

    // Opened now and held until the upload is over; every object below is released on the
    // way out, whether the requests succeed or throw.
    UploadFile file(target);
    {
        HttpClient announce(httpTimeLimitMs);
        const QByteArray url = AnnounceUrl(siteBase, fileName, childName, age);
        offWindowThread(announce, [&] { return announce.get(url); });
    }
    QApplication::processEvents();
    {
        HttpClient upload(httpTimeLimitMs);
        const QByteArray url = UploadUrl(siteBase);
        offWindowThread(
            upload, [&] { return upload.postFile(url, "filename", file, target, "image/jpeg"); });
    }
    platform.messages->show(tr("Information"),
                            tr("The picture is successfully loaded on the site."),
                            MessageIcon::Information);
}

void MainWindow::onViewGalleryClicked() {
    openInShell(GalleryUrl(siteBase));
}

void MainWindow::onWriteToUsClicked() {
    openInShell(siteBase);
}
