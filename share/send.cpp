// Sending the picture to the gallery site, and opening the site in the browser.
#include "app/core/atomicfile.h"
#include "app/core/rng.h"
#include "app/mainwindow.h"
#include "app/widgets.h"
#include "share/core/gallery.h"
#include "share/core/http.h"
#include "share/core/jpeg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <stdexcept>

bool TForm1::IsOnline() {
    return platform.network && platform.network->isOnline();
}

QImage TForm1::CaptureDrawingArea() {
    // What the screen shows over the area, the magnifier included: render the panel that
    // holds the area and its overlays, cut to the area's rectangle.
    const QRect area = PaintBox1->geometry();
    if (area.isEmpty())
        return {};
    QImage shot = Panel2->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.size() != area.size()) // a high-density screen: back to one pixel per point
        shot = shot.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return shot;
}

namespace {
QString askUntilAnswered(IInputBox* input, const QString& prompt) {
    QString answer;
    while (answer.isEmpty())
        answer = input->ask(QStringLiteral("Baby"), prompt, QString());
    return answer;
}
} // namespace

void TForm1::menu_ColroingSendClick() {
    if (!IsOnline())
        return;
    if (!QDir().mkpath(UploadFolder))
        throw std::runtime_error("Cannot create folder \"" + UploadFolder.toStdString() + "\".");

    rng::Randomize();
    const QString fileName = RandomFileName(10) + QStringLiteral(".jpg");
    const QString target = UploadFolder + QLatin1Char('/') + fileName;

    try {
        const QImage shot = CaptureDrawingArea();
        if (shot.isNull())
            throw std::runtime_error("The drawing area could not be captured.");
        writeFileAtomically(target, EncodeJpeg(shot, 60));
    } catch (const std::exception&) {
        platform.messages->show(
            QStringLiteral("Предупреждение"),
            QStringLiteral(
                "Ощибка при создание изображения\n"
                "Попробуйте еще раз, если ошибка повториться обратитесть к разработчику!"),
            MessageIcon::Warning);
        return;
    }

    const QString childName = askUntilAnswered(platform.input, QStringLiteral("Child's name"));
    const QString age = askUntilAnswered(platform.input, QStringLiteral("Child's age"));

    // Opened now and held until the upload is over; every object below is released on the
    // way out, whether the requests succeed or throw.
    UploadFile file(target);
    {
        HttpClient announce;
        announce.get(AnnounceUrl(SiteBase, fileName, childName, age));
    }
    QApplication::processEvents();
    {
        HttpClient upload;
        upload.postFile(UploadUrl(SiteBase), "filename", file, target, "image/jpeg");
    }
    platform.messages->show(QStringLiteral("Information"),
                            QStringLiteral("The picture is successfully loaded on the site."),
                            MessageIcon::Information);
}

void TForm1::menu_ColoringViewClick() {
    OpenInShell(GalleryUrl(SiteBase));
}

void TForm1::menu_MailClick() {
    OpenInShell(SiteBase);
}
