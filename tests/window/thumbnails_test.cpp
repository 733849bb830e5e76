// The catalogue's kept thumbnails are trusted only when they are what the program writes.
#include "app/thumbnails.h"
#include "library/thumbnail.h"
#include "support/fakes.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
QByteArray pngOf(const QImage& img, const char* format = "PNG") {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    EXPECT_TRUE(img.save(&buf, format));
    return bytes;
}

QImage keptPng(const QString& path) {
    QImageReader r(path, "png");
    r.setAutoDetectImageFormat(false);
    return r.read().convertToFormat(QImage::Format_RGB32);
}
} // namespace

// Planted in place of a thumbnail: a small file that decodes to 120 MB, a drawing and a
// photo under its name. Each is made again from the page.
TEST(CatalogueThumbnails, AnythingButAThumbnailSizedPngIsMadeAgain) {
    Harness h;
    h.addArchive("pages.pak", {{"boxes.bmp", bmpBytes(outlinePage(90, 120))}});
    MainWindow& f = h.make();
    probe::thumbnails(f)->waitForAll();
    const QString thumb =
        CatalogueThumbnails::thumbnailPath(probe::folders(f).cacheFolder, "boxes");
    const QImage made = keptPng(thumb);
    ASSERT_FALSE(made.isNull());

    QImage huge(5600, 5600, QImage::Format_Mono);
    huge.fill(1);
    const std::pair<const char*, QByteArray> planted[] = {
        {"huge PNG", pngOf(huge)},
        {"SVG", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"96\" height=\"96\">"
                "<rect width=\"96\" height=\"96\" fill=\"red\"/></svg>"},
        {"JPEG", pngOf(made, "JPEG")},
    };
    for (const auto& [what, bytes] : planted) {
        QFile file(thumb);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        probe::thumbnails(f)->start();
        probe::thumbnails(f)->waitForAll();
        EXPECT_TRUE(keptPng(thumb) == made) << what;
        const QImage icon =
            probe::catalogue(f).catalogueNodes[1]->icon(0).pixmap(kThumbnailSide).toImage();
        EXPECT_TRUE(icon.convertToFormat(QImage::Format_RGB32) == made) << what;
    }
}
